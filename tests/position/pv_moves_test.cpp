#include "position/pv_moves.h"

#include <gtest/gtest.h>

#include <string>

namespace fv {
namespace {

// The parsed move's fields in words, "" for no move.
std::string Fields(const std::optional<PvMove>& m) {
  if (!m) return "";
  auto square = [](int s) { return std::to_string(FileOf(s)) + std::to_string(RankOf(s)); };
  const std::string side = m->side == Sente ? "Sente " : "Gote ";
  const std::string piece = m->piece == Empty ? "no piece" : std::string(PieceNames[m->piece - 1]);
  if (m->IsDrop()) return side + "drops " + piece + " on " + square(m->to);
  return side + "moves " + square(m->from) + " to " + square(m->to) + " as " + piece;
}

// Squares, drops and names as written; the digits decide whether it is a move.
TEST(PvMoves, SixCharactersParseIntoAMove) {
  const struct { const char *text, *fields; } cases[] = {
      {"7776FU", "Gote moves 77 to 76 as FU"}, {"8822UM", "Gote moves 88 to 22 as UM"},
      {"0055KA", "Gote drops KA on 55"},       {"9119OU", "Gote moves 91 to 19 as OU"},
      {"7776XX", "Gote moves 77 to 76 as no piece"},
      {"7076FU", ""}, {"0705FU", ""}, {"0000KA", ""}, {"7776F", ""}, {"", ""},
  };
  for (const auto& c : cases) {
    const std::optional<PvMove> move = ParsePvMove(Gote, c.text);
    EXPECT_EQ(Fields(move), c.fields) << c.text;
    if (move && move->piece != Empty) {
      EXPECT_EQ(move->Line(), std::string("-") + c.text);
    }
  }
}

}  // namespace
}  // namespace fv
