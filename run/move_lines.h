// The PV as the transcript and the report show it.
#pragma once

#include <string>

namespace fv {

// "+7776FU\n" ("-" for Gote) for each of the first `count` six-character
// moves of `text`, the sides alternating from `side`.
std::string MoveLines(int side, const std::string& text, int count);

}  // namespace fv
