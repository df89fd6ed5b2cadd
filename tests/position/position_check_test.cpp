#include <gtest/gtest.h>

#include "position/position_check.h"

#include <tuple>
#include <utility>

#include "shogi/piece_rules.h"

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
  // The piece alone (with the kings) on a square written file then rank.
  const auto problem = [](int code, int square) {
    return PositionProblem(
        KingsAnd([&](Position& p) { p.board[SquareOf(square / 10, square % 10)] = code; }));
  };
  const std::tuple<int, int, const char*> stuck[] = {
      {FU, 31, "+FU on 31 can never move"},  {KY, 91, "+KY on 91 can never move"},
      {KE, 22, "+KE on 22 can never move"},  {KE, 21, "+KE on 21 can never move"},
      {-FU, 79, "-FU on 79 can never move"}, {-KY, 19, "-KY on 19 can never move"},
      {-KE, 48, "-KE on 48 can never move"},
  };
  for (const auto& [code, square, expected] : stuck) EXPECT_EQ(problem(code, square), expected);
  const std::pair<int, int> movable[] = {{KE, 23}, {KY, 92}, {-FU, 78}, {-KE, 47}, {-FU, 31},
                                         {KE, 29}, {TO, 31}, {NK, 21},  {GI, 52}};
  for (const auto& [code, square] : movable)
    EXPECT_EQ(problem(code, square), "") << code << " on " << square;
}

TEST(PositionCheck, KingsAndPieceCountsOfOneSet) {
  // Every piece of a set besides the kings in Sente's hand.
  const auto fullSenteHand = [](Position& p) {
    for (const PieceKind kind : HandKinds) p.hand[Sente][kind] = std::int8_t(SetPieceCounts[kind]);
  };
  const std::pair<Position, const char*> cases[] = {
      {KingsAnd([](Position&) {}), ""},
      {KingsAnd([](Position& p) { p.board[SquareOf(5, 1)] = 0; }),
       "0 kings of Gote on the board, there must be exactly one"},
      {KingsAnd([](Position& p) { p.board[0] = OU; }),
       "2 kings of Sente on the board, there must be exactly one"},
      {KingsAnd([](Position& p) { p.board[30] = UM, p.board[31] = -UM, p.hand[Sente][KA] = 1; }),
       "3 pieces of kind KA, a set has 2"},
      {KingsAnd([](Position& p) { p.hand[Gote][KI] = 5; }), "5 pieces of kind KI, a set has 4"},
      {KingsAnd(
           [](Position& p) { p.hand[Sente][FU] = 10, p.hand[Gote][FU] = 8, p.board[40] = -TO; }),
       "19 pieces of kind FU, a set has 18"},
      {KingsAnd(fullSenteHand), ""},
      {KingsAnd([&](Position& p) { fullSenteHand(p), p.board[40] = NY; }),
       "39 pieces besides the kings, a set has 38"},
  };
  for (const auto& [pos, problem] : cases) EXPECT_EQ(PositionProblem(pos), problem);
}

}  // namespace
}  // namespace fv
