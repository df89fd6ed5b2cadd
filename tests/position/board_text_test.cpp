#include "position/board_text.h"

#include <gtest/gtest.h>

namespace fv {
namespace {

TEST(BoardText, CellsByRankAndHandsMostValuableFirst) {
  Position pos;
  pos.board = {-KY, -KE, -GI, -KI, -OU, -KI, -GI, -KE, -KY, 0, -HI, 0, 0, 0, 0, 0, -KA};
  pos.board[SquareOf(5, 5)] = TO, pos.board[SquareOf(1, 9)] = RY, pos.board[SquareOf(9, 9)] = -NK;
  pos.board[SquareOf(5, 9)] = OU, pos.board[SquareOf(4, 8)] = UM, pos.board[SquareOf(6, 7)] = -NG;
  pos.hand[Sente][FU] = 2, pos.hand[Sente][HI] = 1;
  for (const PieceKind kind : HandKinds) pos.hand[Gote][kind] = 1;
  pos.hand[Gote][HI] = -1;
  EXPECT_EQ(BoardText(pos),
            "   9  8  7  6  5  4  3  2  1\n"
            "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\n"
            "P2 * -HI *  *  *  *  * -KA * \n"
            "P3 *  *  *  *  *  *  *  *  * \n"
            "P4 *  *  *  *  *  *  *  *  * \n"
            "P5 *  *  *  * +TO *  *  *  * \n"
            "P6 *  *  *  *  *  *  *  *  * \n"
            "P7 *  *  * -NG *  *  *  *  * \n"
            "P8 *  *  *  *  * +UM *  *  * \n"
            "P9-NK *  *  * +OU *  *  * +RY\n"
            "P+00HI00FU00FU\n"
            "P-00KA00KI00GI00KE00KY00FU\n");
  EXPECT_EQ(BoardText(Position{}).substr(29 + 9 * 30), "P+\nP-\n");
}

}  // namespace
}  // namespace fv
