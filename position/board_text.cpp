#include "position/board_text.h"

#include "shogi/csa_board.h"

namespace fv {

void PrintBoard(const Position& pos, std::FILE* out) {
  std::fputs("   9  8  7  6  5  4  3  2  1\n", out);
  std::fputs(CsaBoardLines(pos).c_str(), out);
}

}  // namespace fv
