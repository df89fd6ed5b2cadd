// Text from outside input made safe to show on one line.
#pragma once

#include <string>
#include <string_view>

namespace fv {

// The text with every byte outside printable ASCII shown as \xNN.
std::string Printable(std::string_view text);

}  // namespace fv
