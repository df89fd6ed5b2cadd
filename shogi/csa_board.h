// The board and hands of a position as the lines of a CSA record.
#pragma once

#include <string>

#include "shogi/position.h"

namespace fv {

// Eleven lines: "P1" to "P9" with the cells of files 9 to 1 (" * ", "+FU",
// "-KA", ...), then the hand lines "P+" and "P-" with one "00HI".."00FU"
// entry per piece held, most valuable kind first. Each line ends in "\n".
std::string CsaBoardLines(const Position& pos);

}  // namespace fv
