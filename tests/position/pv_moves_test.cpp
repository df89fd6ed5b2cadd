#include <gtest/gtest.h>

#include "position/pv_moves.h"

namespace fv {
namespace {

// Squares, drops and names as written; the digits decide whether it is a move.
TEST(PvMoves, SixCharactersParseIntoAMove) {
  struct Case { const char* text; bool parses; int from = 0, to = 0, piece = Empty; };
  const Case cases[] = {
      {"7776FU", true, SquareOf(7, 7), SquareOf(7, 6), FU},
      {"8822UM", true, SquareOf(8, 8), SquareOf(2, 2), UM},
      {"0055KA", true, PvMove::DropOrigin, SquareOf(5, 5), KA},
      {"9119OU", true, SquareOf(9, 1), SquareOf(1, 9), OU},
      {"7776XX", true, SquareOf(7, 7), SquareOf(7, 6), Empty}, {"7076FU", false}, {"0705FU", false},
      {"0000KA", false}, {"7776F", false}, {"", false},
  };
  for (const Case& c : cases) {
    const std::optional<PvMove> move = ParsePvMove(Gote, c.text);
    ASSERT_EQ(move.has_value(), c.parses) << c.text;
    if (!move) continue;
    EXPECT_EQ(move->side, Gote);
    EXPECT_EQ(move->from, c.from) << c.text;
    EXPECT_EQ(move->to, c.to) << c.text;
    EXPECT_EQ(move->piece, c.piece) << c.text;
    if (c.piece != Empty) {
      EXPECT_EQ(move->Line(), std::string("-") + c.text);
    }
  }
}

}  // namespace
}  // namespace fv
