#include <gtest/gtest.h>

#include "position/position.h"

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

TEST(PositionTables, PromotionKeepsSideAndFixedPoints) {
  struct Case { PieceCode code, promoted; };
  for (const Case c : {Case{-1, -9}, {7, 14}, {-6, -13}, {5, 5}, {13, 13}, {8, 8}, {-8, -8},
                       {0, 0}, {1, 9}, {2, 10}, {3, 11}, {4, 12}, {6, 13}, {-7, -14}, {-5, -5},
                       {-2, -10}, {-3, -11}, {-4, -12}, {-14, -14}, {-9, -9}}) {
    EXPECT_EQ(Promote(c.code), c.promoted) << int(c.code);
  }
}

TEST(PositionTables, CapturedPiecesJoinHandUnpromoted) {
  EXPECT_EQ(HandKindTable[UM], 5);
  EXPECT_EQ(HandKindTable[TO], 0);
  EXPECT_EQ(HandKindTable[RY], 6);
  EXPECT_EQ(HandKindTable[OU], -1);
  EXPECT_EQ(HandKindTable[Empty], -1);
  for (int kind = FU; kind <= HI; ++kind) EXPECT_EQ(HandKindTable[kind], kind - 1);
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
