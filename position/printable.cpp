#include "position/printable.h"

#include <cstdio>

namespace fv {

std::string Printable(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (c >= ' ' && c <= '~') {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(static_cast<unsigned char>(c)));
      shown += escaped;
    }
  }
  return shown;
}

}  // namespace fv
