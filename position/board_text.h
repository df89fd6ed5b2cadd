// The position as text in the manner of a CSA record's board section.
#pragma once

#include <cstdio>

#include "shogi/position.h"

namespace fv {

// Writes twelve lines to `out`: the file header "   9  8 ... 1", the board
// lines "P1" to "P9" with cells " * ", "+FU", "-KA", ..., and the hand lines
// "P+" and "P-" with one "00HI".."00FU" entry per piece held, most valuable
// kind first. No blank line before or after.
void PrintBoard(const Position& pos, std::FILE* out);

}  // namespace fv
