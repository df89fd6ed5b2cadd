#include <gtest/gtest.h>

#include "position/move.h"
#include "position/pv_moves.h"
#include "position/replay.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using test::CapturedStream;

std::int32_t Parsed(const char* move) {
  PvMoveList list;
  ParsePv(move, list);
  return list.moves.at(0);
}

TEST(Replay, ApplyMoveChangesBoardHandAndKings) {
  struct Case {
    const char* what;
    int side;
    const char* move;
    std::vector<std::pair<int, PieceCode>> before;  // square, code
    std::vector<std::pair<int, PieceCode>> after;
    std::array<std::int8_t, 2> handBefore;  // count of the checked hand kind per side
    int handKind;
    std::array<std::int8_t, 2> handAfter;
  };
  const Case cases[] = {
      {"quiet pawn push", Sente, "7776FU", {{56, FU}}, {{56, 0}, {47, FU}}, {0, 0}, 0, {0, 0}},
      {"bishop promotes", Sente, "8822UM", {{64, KA}}, {{64, 0}, {16, UM}}, {0, 0}, 5, {0, 0}},
      {"horse moves on promoted", Sente, "2211UM", {{16, UM}}, {{16, 0}, {8, UM}}, {0, 0}, 5, {0, 0}},
      {"gote pawn promotes", Gote, "3337TO", {{24, -FU}, {60, FU}}, {{24, 0}, {60, -TO}}, {0, 0}, 0, {0, 1}},
      {"dragon captured joins as rook", Gote, "2223GI", {{16, -GI}, {25, RY}}, {{25, -GI}}, {0, 0}, 6, {0, 1}},
      {"promoted pawn captured joins as pawn", Sente, "5453KI", {{31, KI}, {22, -TO}}, {{22, KI}}, {0, 0}, 0, {1, 0}},
      {"king captured joins no hand", Sente, "5251HI", {{13, HI}, {4, -OU}}, {{4, HI}}, {0, 0}, 0, {0, 0}},
      {"gote drops a bishop", Gote, "0055KA", {}, {{40, -KA}}, {0, 2}, 5, {0, 1}},
      {"sente drops a pawn", Sente, "0011FU", {}, {{8, FU}}, {3, 0}, 0, {2, 0}},
  };
  for (const Case& c : cases) {
    Position pos;
    for (const auto& [square, code] : c.before) pos.board[square] = code;
    pos.hand[Sente][c.handKind] = c.handBefore[Sente];
    pos.hand[Gote][c.handKind] = c.handBefore[Gote];
    ApplyMove(c.side, pos, Parsed(c.move));
    for (const auto& [square, code] : c.after) EXPECT_EQ(pos.board[square], code) << c.what << " square " << square;
    EXPECT_EQ(pos.hand[Sente][c.handKind], c.handAfter[Sente]) << c.what;
    EXPECT_EQ(pos.hand[Gote][c.handKind], c.handAfter[Gote]) << c.what;
    int pieces = 0, expectedPieces = 0, held = 0;
    for (const PieceCode code : pos.board) pieces += code != 0;
    for (const auto& entry : c.after) expectedPieces += entry.second != 0;
    for (const auto& hand : pos.hand) for (const std::int8_t count : hand) held += count;
    EXPECT_EQ(pieces, expectedPieces) << c.what;
    EXPECT_EQ(held, c.handAfter[Sente] + c.handAfter[Gote]) << c.what;
  }
}

TEST(Replay, KingMovesFollowTheMover) {
  Position pos;
  pos.board[76] = OU;
  pos.board[4] = -OU;
  pos.kingSquare = {76, 4};
  ApplyMove(Sente, pos, EncodeMove(40, 76, false));
  EXPECT_EQ(pos.kingSquare[Sente], 40);
  ApplyMove(Gote, pos, EncodeMove(13, 4, false));
  EXPECT_EQ(pos.kingSquare[Gote], 13);
  EXPECT_EQ(pos.kingSquare[Sente], 40);
  ApplyMove(Gote, pos, EncodeMove(22, 13, false));
  EXPECT_EQ(pos.kingSquare[Gote], 22);
}

TEST(Replay, PvLinesAlternateFromTheFirstSide) {
  Position pos;
  pos.board[SquareOf(3, 3)] = -FU;
  pos.board[SquareOf(7, 7)] = FU;
  pos.board[SquareOf(2, 2)] = -KA;
  const std::string text = "3334FU7776FU2276UM";
  PvMoveList list;
  ParsePv(text, list);
  CapturedStream console, report;
  ReplayPv(Gote, list, text, pos, console.file(), report.file());
  EXPECT_EQ(console.text(), "-3334FU\n+7776FU\n-2276UM\n");
  EXPECT_EQ(report.text(), "-3334FU\n+7776FU\n-2276UM\n");
  EXPECT_EQ(pos.board[SquareOf(3, 4)], -FU);
  EXPECT_EQ(pos.board[SquareOf(7, 6)], -UM);
  EXPECT_EQ(pos.board[SquareOf(7, 7)], 0);
  EXPECT_EQ(pos.hand[Gote][0], 1);
}

TEST(Replay, EmptyPvWritesNothingAndKeepsThePosition) {
  Position pos;
  pos.board[3] = GI;
  const Position before = pos;
  CapturedStream console, report;
  ReplayPv(Sente, PvMoveList{}, "", pos, console.file(), report.file());
  EXPECT_EQ(console.text(), "");
  EXPECT_EQ(report.text(), "");
  EXPECT_EQ(pos.board, before.board);
}

}  // namespace
}  // namespace fv
