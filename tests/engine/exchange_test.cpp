#include "engine/exchange.h"

#include <gtest/gtest.h>

#include <tuple>

#include "shogi/usi_move.h"
#include "tests/support/positions.h"

namespace fv::engine {
namespace {

TEST(StaticExchange, CountsTheWholeExchangeOnTheSquare) {
  // Sente captures the pawn on 5d from below; kings far away on 9i and 1a.
  constexpr int Pawn = 2 * 87, Rook = 2 * 642, Gold = 2 * 444;
  const std::tuple<const char*, const char*, const char*, int> cases[] = {
      {"undefended pawn", "8k/9/9/4p4/9/9/4R4/9/K8 b - 1", "5g5d", Pawn},
      {"pawn for pawn", "8k/9/4g4/4p4/4P4/9/9/9/K8 b - 1", "5e5d", 0},
      {"rook for a defended pawn", "8k/9/4g4/4p4/9/9/4R4/9/K8 b - 1", "5g5d", Pawn - Rook},
      {"a second rook behind the first recaptures", "8k/9/4g4/4p4/9/9/4R4/4R4/K8 b - 1", "5g5d",
       Pawn - Rook + Gold},
      {"the defender stops when recapturing loses", "8k/4r4/9/4p4/4PS3/9/9/9/K8 b - 1", "5e5d",
       Pawn},
  };
  for (const auto& [what, sfen, capture, balance] : cases) {
    Board board = test::BoardOf(sfen);
    EXPECT_EQ(StaticExchange(board, ParseUsiMove(board, capture)), balance) << what;
  }
}

}  // namespace
}  // namespace fv::engine
