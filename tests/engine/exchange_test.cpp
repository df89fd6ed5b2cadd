#include "engine/exchange.h"

#include <gtest/gtest.h>

#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

using testing::BoardOf;
using testing::PositionWith;

TEST(StaticExchange, CountsTheWholeExchangeOnTheSquare) {
  // Sente captures the pawn on 5d from below; kings far away on 9i and 1a.
  const Move pawnTakes = MakeBoardMove(CellOf(SquareOf(5, 5)), CellOf(SquareOf(5, 4)), false,
                                       MakePiece(Sente, FU), MakePiece(Gote, FU));
  const Move rookTakes = MakeBoardMove(CellOf(SquareOf(5, 7)), CellOf(SquareOf(5, 4)), false,
                                       MakePiece(Sente, HI), MakePiece(Gote, FU));
  constexpr int Pawn = 2 * 87, Rook = 2 * 642, Gold = 2 * 444;
  struct Case {
    const char* what;
    PositionRecord position;
    Move capture;
    int balance;
  };
  const Case cases[] = {
      {"undefended pawn", PositionWith({{OU, 9, 9}, {-OU, 1, 1}, {HI, 5, 7}, {-FU, 5, 4}}),
       rookTakes, Pawn},
      {"pawn for pawn",
       PositionWith({{OU, 9, 9}, {-OU, 1, 1}, {FU, 5, 5}, {-FU, 5, 4}, {-KI, 5, 3}}), pawnTakes, 0},
      {"rook for a defended pawn",
       PositionWith({{OU, 9, 9}, {-OU, 1, 1}, {HI, 5, 7}, {-FU, 5, 4}, {-KI, 5, 3}}), rookTakes,
       Pawn - Rook},
      {"a second rook behind the first recaptures",
       PositionWith({{OU, 9, 9}, {-OU, 1, 1}, {HI, 5, 7}, {HI, 5, 8}, {-FU, 5, 4}, {-KI, 5, 3}}),
       rookTakes, Pawn - Rook + Gold},
      {"the defender stops when recapturing loses",
       PositionWith({{OU, 9, 9}, {-OU, 1, 1}, {FU, 5, 5}, {GI, 4, 5}, {-FU, 5, 4}, {-HI, 5, 2}}),
       pawnTakes, Pawn},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StaticExchange(BoardOf(c.position), c.capture), c.balance) << c.what;
}

}  // namespace
}  // namespace fv::engine
