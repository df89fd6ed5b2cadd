#include <gtest/gtest.h>

#include <tuple>

#include "position/material.h"

namespace fv {
namespace {

TEST(Material, BoardAndHandPiecesCountBySide) {
  auto with = [](auto change) {
    Position p;
    change(p);
    return p;
  };
  const std::tuple<const char*, Position, std::int32_t> cases[] = {
      {"empty", Position{}, 0},
      {"sente pawn in hand", with([](Position& p) { p.hand[Sente][FU] = 1; }), 87},
      {"gote gold in hand", with([](Position& p) { p.hand[Gote][KI] = 1; }), -444},
      {"sente promoted pawn", with([](Position& p) { p.board[10] = TO; }), 534},
      {"gote dragon", with([](Position& p) { p.board[10] = -RY; }), -945},
      {"lone sente king", with([](Position& p) { p.board[76] = OU; }), 15000},
      {"kings cancel", with([](Position& p) { p.board[76] = OU, p.board[4] = -OU; }), 0},
      {"negative count", with([](Position& p) { p.hand[Sente][HI] = -1; }), -642},
      {"each kind in hand", with([](Position& p) {
         for (const PieceKind kind : HandKinds) p.hand[Sente][kind] = 1;
       }),
       2600},
  };
  for (const auto& [what, pos, expected] : cases) EXPECT_EQ(CountMaterial(pos), expected) << what;
  for (int code = 1; code <= 14; ++code)  // every Gote value is the negated Sente value
    EXPECT_EQ(PieceValue(PieceCode(-code)), -PieceValue(PieceCode(code))) << code;
}

}  // namespace
}  // namespace fv
