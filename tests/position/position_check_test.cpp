#include <gtest/gtest.h>

#include "position/position_check.h"

namespace fv {
namespace {

// Kings on 59 and 51, changed by `change`.
template <typename Change>
Position KingsAnd(Change change) {
  Position pos;
  pos.board[SquareOf(5, 9)] = OU;
  pos.board[SquareOf(5, 1)] = -OU;
  change(pos);
  return pos;
}

TEST(PositionCheck, PiecesThatCanNeverMove) {
  struct Case {
    PieceCode code;
    int file, rank;
    const char* problem;
  };
  const Case cases[] = {
      {FU, 3, 1, "+FU on 31 can never move"},
      {KY, 9, 1, "+KY on 91 can never move"},
      {KE, 2, 2, "+KE on 22 can never move"},
      {KE, 2, 1, "+KE on 21 can never move"},
      {-FU, 7, 9, "-FU on 79 can never move"},
      {-KY, 1, 9, "-KY on 19 can never move"},
      {-KE, 4, 8, "-KE on 48 can never move"},
      {KE, 2, 3, ""},
      {KY, 9, 2, ""},
      {-FU, 7, 8, ""},
      {-KE, 4, 7, ""},
      {-FU, 3, 1, ""},
      {KE, 2, 9, ""},
      {TO, 3, 1, ""},
      {NK, 2, 1, ""},
      {GI, 5, 2, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        PositionProblem(KingsAnd([&](Position& p) { p.board[SquareOf(c.file, c.rank)] = c.code; })),
        c.problem)
        << int(c.code) << " on " << c.file << c.rank;
  }
}

TEST(PositionCheck, KingsAndPieceCountsOfOneSet) {
  struct Case {
    Position pos;
    const char* problem;
  };
  const Case cases[] = {
      {KingsAnd([](Position&) {}), ""},
      {KingsAnd([](Position& p) { p.board[SquareOf(5, 1)] = 0; }),
       "0 kings of Gote on the board, there must be exactly one"},
      {KingsAnd([](Position& p) { p.board[0] = OU; }),
       "2 kings of Sente on the board, there must be exactly one"},
      {KingsAnd([](Position& p) { p.board[30] = UM, p.board[31] = -UM, p.hand[Sente][5] = 1; }),
       "3 pieces of kind KA, a set has 2"},
      {KingsAnd([](Position& p) { p.hand[Gote][4] = 5; }), "5 pieces of kind KI, a set has 4"},
      {KingsAnd([](Position& p) { p.hand[Sente][0] = 10, p.hand[Gote][0] = 8, p.board[40] = -TO; }),
       "19 pieces of kind FU, a set has 18"},
      {KingsAnd([](Position& p) { p.hand[Sente] = {18, 4, 4, 4, 4, 2, 2}; }), ""},
      {KingsAnd([](Position& p) { p.hand[Sente] = {18, 4, 4, 4, 4, 2, 2}, p.board[40] = NY; }),
       "39 pieces besides the kings, a set has 38"},
  };
  for (const Case& c : cases) EXPECT_EQ(PositionProblem(c.pos), c.problem);
}

}  // namespace
}  // namespace fv
