#include <gtest/gtest.h>

#include "position/board_text.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

std::string BoardText(const Position& pos) {
  test::CapturedStream out;
  PrintBoard(pos, out.file());
  return out.text();
}

Position StartingPosition() {
  Position pos;
  constexpr PieceCode backRank[9] = {KY, KE, GI, KI, OU, KI, GI, KE, KY};
  for (int i = 0; i < 9; ++i) {
    pos.board[i] = PieceCode(-backRank[i]);
    pos.board[72 + i] = backRank[i];
    pos.board[18 + i] = -FU;
    pos.board[54 + i] = FU;
  }
  pos.board[SquareOf(8, 2)] = -HI;
  pos.board[SquareOf(2, 2)] = -KA;
  pos.board[SquareOf(8, 8)] = KA;
  pos.board[SquareOf(2, 8)] = HI;
  return pos;
}

TEST(BoardText, StartingPosition) {
  EXPECT_EQ(BoardText(StartingPosition()),
            "   9  8  7  6  5  4  3  2  1\n"
            "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\n"
            "P2 * -HI *  *  *  *  * -KA * \n"
            "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\n"
            "P4 *  *  *  *  *  *  *  *  * \n"
            "P5 *  *  *  *  *  *  *  *  * \n"
            "P6 *  *  *  *  *  *  *  *  * \n"
            "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\n"
            "P8 * +KA *  *  *  *  * +HI * \n"
            "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n"
            "P+\n"
            "P-\n");
}

TEST(BoardText, PromotedPiecesAndHandLines) {
  struct Case { const char* what; Position pos; const char* rank1; const char* senteHand; const char* goteHand; };
  auto with = [](auto change) { Position p; change(p); return p; };
  const Case cases[] = {
      {"rook and two pawns", with([](Position& p) { p.hand[Sente][0] = 2; p.hand[Sente][6] = 1; }),
       "P1 *  *  *  *  *  *  *  *  * \n", "P+00HI00FU00FU\n", "P-\n"},
      {"one bishop for gote", with([](Position& p) { p.hand[Gote][5] = 1; }),
       "P1 *  *  *  *  *  *  *  *  * \n", "P+\n", "P-00KA\n"},
      {"every kind, most valuable first", with([](Position& p) { p.hand[Gote] = {1, 1, 1, 1, 1, 1, 1}; }),
       "P1 *  *  *  *  *  *  *  *  * \n", "P+\n", "P-00HI00KA00KI00GI00KE00KY00FU\n"},
      {"negative count prints nothing", with([](Position& p) { p.hand[Sente][1] = -1; }),
       "P1 *  *  *  *  *  *  *  *  * \n", "P+\n", "P-\n"},
      {"promoted pieces by name", with([](Position& p) { p.board = {TO, -NY, NK, -NG, UM, -RY, KI, -OU, OU}; }),
       "P1+TO-NY+NK-NG+UM-RY+KI-OU+OU\n", "P+\n", "P-\n"},
  };
  for (const Case& c : cases) {
    const std::string text = BoardText(c.pos);
    EXPECT_EQ(text.substr(29, 30), c.rank1) << c.what;
    EXPECT_EQ(text.substr(text.size() - std::string(c.senteHand).size() - std::string(c.goteHand).size()),
              std::string(c.senteHand) + c.goteHand)
        << c.what;
  }
}

}  // namespace
}  // namespace fv
