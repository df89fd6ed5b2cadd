#include "position/replay.h"

#include <gtest/gtest.h>

#include "position/move.h"
#include "position/pv_moves.h"

namespace fv {
namespace {

TEST(Replay, ApplyMoveChangesBoardAndHands) {
  using Cells = std::vector<std::pair<int, PieceCode>>;  // square, code
  using Counts = std::array<int, 2>;                     // Sente's and Gote's count of `kind`
  struct Case { const char* what; int side; const char* move; Cells before, after; int kind; Counts held, heldAfter; };
  const Case cases[] = {
      {"pawn push", Sente, "7776FU", {{56, FU}}, {{47, FU}}, 0, {0, 0}, {0, 0}},
      {"bishop promotes", Sente, "8822UM", {{64, KA}}, {{16, UM}}, 5, {0, 0}, {0, 0}},
      {"horse moves on", Sente, "2211UM", {{16, UM}}, {{8, UM}}, 5, {0, 0}, {0, 0}},
      {"gote pawn promotes capturing", Gote, "3337TO", {{24, -FU}, {60, FU}}, {{60, -TO}}, 0, {0, 0}, {0, 1}},
      {"a dragon joins as rook", Gote, "2223GI", {{16, -GI}, {25, RY}}, {{25, -GI}}, 6, {0, 0}, {0, 1}},
      {"a promoted pawn joins as pawn", Sente, "5453KI", {{31, KI}, {22, -TO}}, {{22, KI}}, 0, {0, 0}, {1, 0}},
      {"a king joins no hand", Sente, "5251HI", {{13, HI}, {4, -OU}}, {{4, HI}}, 0, {0, 0}, {0, 0}},
      {"gote drops a bishop", Gote, "0055KA", {}, {{40, -KA}}, 5, {1, 2}, {1, 1}},
      {"sente drops a pawn", Sente, "0011FU", {}, {{8, FU}}, 0, {3, 0}, {2, 0}},
  };
  for (const Case& c : cases) {
    Position pos, expected;
    for (const auto& [square, code] : c.before) pos.board[square] = code;
    for (const auto& [square, code] : c.after) expected.board[square] = code;
    pos.hand[Sente][c.kind] = std::int8_t(c.held[Sente]), pos.hand[Gote][c.kind] = std::int8_t(c.held[Gote]);
    expected.hand[Sente][c.kind] = std::int8_t(c.heldAfter[Sente]), expected.hand[Gote][c.kind] = std::int8_t(c.heldAfter[Gote]);
    PvMoveList list;
    ParsePv(c.move, list);
    ApplyMove(c.side, pos, list.moves[0]);
    EXPECT_EQ(pos.board, expected.board) << c.what;
    EXPECT_EQ(pos.hand, expected.hand) << c.what;
    EXPECT_EQ(pos.kingSquare[c.side], std::abs(expected.board[MoveTo(list.moves[0])]) == OU ? MoveTo(list.moves[0]) : 0) << c.what;
  }
}

TEST(Replay, SidesAlternateFromTheFirstMover) {
  Position pos;
  pos.board[SquareOf(3, 3)] = -FU, pos.board[SquareOf(7, 7)] = FU, pos.board[SquareOf(2, 2)] = -KA;
  PvMoveList list;
  ParsePv("3334FU7776FU2276UM", list);
  ReplayPv(Gote, list, pos);
  EXPECT_EQ(pos.board[SquareOf(3, 4)], -FU);
  EXPECT_EQ(pos.board[SquareOf(7, 6)], -UM);
  EXPECT_EQ(pos.hand[Gote][0], 1);
}

}  // namespace
}  // namespace fv
