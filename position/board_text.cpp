#include "position/board_text.h"

#include "shogi/csa_board.h"

namespace fv {

std::string BoardText(const Position& pos) {
  return "   9  8  7  6  5  4  3  2  1\n" + CsaBoardLines(pos);
}

}  // namespace fv
