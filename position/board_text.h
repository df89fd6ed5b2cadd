// The position as text in the manner of a CSA record's board section.
#pragma once

#include <string>

#include "shogi/position.h"

namespace fv {

// Twelve lines: the file header "   9  8 ... 1", the board lines "P1" to "P9"
// with cells " * ", "+FU", "-KA", ..., and the hand lines "P+" and "P-" with
// one "00HI".."00FU" entry per piece held, most valuable kind first. Each line
// ends in "\n"; no blank line before or after.
std::string BoardText(const Position& pos);

}  // namespace fv
