#include <gtest/gtest.h>

#include "position/material.h"

namespace fv {
namespace {

TEST(Material, BoardAndHandPiecesCountBySide) {
  struct Case {
    const char* what;
    Position pos;
    std::int32_t expected;
  };
  auto with = [](auto change) {
    Position p;
    change(p);
    return p;
  };
  const Case cases[] = {
      {"empty", Position{}, 0},
      {"sente pawn in hand", with([](Position& p) { p.hand[Sente][0] = 1; }), 87},
      {"gote gold in hand", with([](Position& p) { p.hand[Gote][4] = 1; }), -444},
      {"sente promoted pawn", with([](Position& p) { p.board[10] = TO; }), 534},
      {"gote dragon", with([](Position& p) { p.board[10] = -RY; }), -945},
      {"lone sente king", with([](Position& p) { p.board[76] = OU; }), 15000},
      {"kings cancel", with([](Position& p) {
         p.board[76] = OU;
         p.board[4] = -OU;
       }),
       0},
      {"negative hand count keeps its sign", with([](Position& p) { p.hand[Sente][6] = -1; }),
       -642},
      {"hand kinds at unpromoted value",
       with([](Position& p) { p.hand[Sente] = {1, 1, 1, 1, 1, 1, 1}; }),
       87 + 232 + 257 + 369 + 444 + 569 + 642},
  };
  for (const Case& c : cases) EXPECT_EQ(CountMaterial(c.pos), c.expected) << c.what;
}

TEST(Material, EveryGoteValueIsTheNegatedSenteValue) {
  for (int code = 1; code <= 14; ++code)
    EXPECT_EQ(PieceValue(PieceCode(-code)), -PieceValue(PieceCode(code)));
  EXPECT_EQ(PieceValue(0), 0);
}

}  // namespace
}  // namespace fv
