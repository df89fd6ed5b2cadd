#include <gtest/gtest.h>

#include <cstdlib>

#include "shogi/position.h"

namespace fv {
namespace {

TEST(PositionTables, SquareNumbering) {
  struct Case { int file, rank, square; };
  for (const Case c : {Case{9, 1, 0}, {1, 1, 8}, {9, 9, 72}, {1, 9, 80}, {7, 7, 56}, {7, 6, 47}}) {
    EXPECT_EQ(SquareOf(c.file, c.rank), c.square);
    EXPECT_EQ(FileOf(c.square), c.file);
    EXPECT_EQ(RankOf(c.square), c.rank);
  }
}

// Promotion keeps the side and leaves gold, king and promoted pieces as they
// are; a captured piece joins the hand unpromoted, a king joins none.
TEST(PositionTables, PromotionAndHandKinds) {
  struct Case { PieceCode code, promoted; int handKind; };
  for (const Case c : {Case{FU, TO, 0}, {-KY, -NY, 1}, {KE, NK, 2}, {-GI, -NG, 3}, {-KA, -UM, 5}, {HI, RY, 6},
                       {KI, KI, 4}, {-OU, -OU, -1}, {UM, UM, 5}, {-TO, -TO, 0}, {RY, RY, 6}, {Empty, Empty, -1}}) {
    EXPECT_EQ(Promote(c.code), c.promoted) << int(c.code);
    EXPECT_EQ(HandKindTable[std::abs(c.code)], c.handKind) << int(c.code);
  }
}

TEST(PositionTables, LocationsRunOverBoardThenHands) {
  Position pos;
  pos.board[80] = -KY;
  pos.hand[Sente][0] = 3;
  pos.hand[Gote][6] = 2;
  EXPECT_EQ(CellAt(pos, 80), -KY);
  EXPECT_EQ(CellAt(pos, 81), 3);
  EXPECT_EQ(CellAt(pos, 94), 2);
  EXPECT_EQ(CellAt(pos, 88), 0);
}

}  // namespace
}  // namespace fv
