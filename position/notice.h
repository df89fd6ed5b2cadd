// A note about an input that the run goes on with (a warning, or what stands
// in for an unreadable file), returned by the readers for the program to show.
#pragma once

#include <string>
#include <vector>

namespace fv {

struct Notice {
  std::string file;     // the input it is about, as the reader was given it
  std::string message;  // "warning: no PV found, the PV is empty"
};

using Notices = std::vector<Notice>;

}  // namespace fv
