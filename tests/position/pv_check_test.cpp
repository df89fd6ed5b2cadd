#include <gtest/gtest.h>

#include "io/input_error.h"
#include "position/pv_check.h"

namespace fv {
namespace {

// Kings on 59 and 51; Sente's FU on 77, KA on 88 and KY on 12; Gote's FU on
// 33, KI on 32 and UM on 28; Sente holds a KE and a GI, Gote a FU and a KA.
Position Sample() {
  Position pos;
  pos.board[SquareOf(5, 9)] = OU, pos.board[SquareOf(5, 1)] = -OU;
  pos.board[SquareOf(7, 7)] = FU, pos.board[SquareOf(8, 8)] = KA;
  pos.board[SquareOf(3, 3)] = -FU, pos.board[SquareOf(3, 2)] = -KI, pos.board[SquareOf(2, 8)] = -UM;
  pos.board[SquareOf(1, 2)] = KY;
  pos.hand[Sente][2] = 1, pos.hand[Sente][3] = 1, pos.hand[Gote][0] = 1, pos.hand[Gote][5] = 1;
  return pos;
}

TEST(PvCheck, EachMoveAgainstThePosition) {
  struct Case { int side; const char* move; const char* problem; };
  const char* const notAMove = "not a move: its digits must be 1 to 9 (00 for a drop)";
  const Case cases[] = {
      {Sente, "7776FU", ""}, {Sente, "8833UM", ""}, {Sente, "8833KA", ""}, {Sente, "0055GI", ""}, {Gote, "3337TO", ""},
      {Gote, "0044KA", ""}, {Sente, "5958OU", ""}, {Gote, "2888UM", ""}, {Sente, "8828KA", ""},
      {Sente, "7706FU", notAMove}, {Sente, "0776FU", notAMove}, {Sente, "A776FU", notAMove},
      {Sente, "0000FU", notAMove}, {Sente, "7776F", notAMove},
      {Sente, "5554FU", "no piece of Sente on 55"}, {Gote, "7776FU", "no piece of Gote on 77"},
      {Sente, "8877KA", "a piece of Sente stands on 77"}, {Gote, "3233KI", "a piece of Gote stands on 33"},
      {Sente, "7776KI", "moves FU from 77 but names KI"}, {Sente, "8833RY", "moves KA from 88 but names RY"},
      {Gote, "3231NG", "moves KI from 32 but names NG"}, {Gote, "2827KA", "moves UM from 28 but names KA"},
      {Sente, "0055OU", "OU cannot be dropped"}, {Sente, "0055UM", "UM cannot be dropped"},
      {Sente, "0055KA", "drops KA, which Sente does not hold"}, {Gote, "0055GI", "drops GI, which Gote does not hold"},
      {Sente, "0033GI", "drops onto the occupied square 33"}, {Gote, "0077KA", "drops onto the occupied square 77"},
      {Sente, "8851KA", "takes the king of Gote on 51"}, {Gote, "2859UM", "takes the king of Sente on 59"},
      {Sente, "1211KY", "moves KY to 11 unpromoted, where it can never move"}, {Sente, "1211NY", ""},
      {Gote, "3339FU", "moves FU to 39 unpromoted, where it can never move"}, {Gote, "3338FU", ""},
      {Sente, "0042KE", "drops KE on 42, where it can never move"}, {Sente, "0043KE", ""},
      {Gote, "0019FU", "drops FU on 19, where it can never move"}, {Gote, "0018FU", ""}, {Sente, "0011GI", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PvMoveProblem(c.side, Sample(), c.move), c.problem) << c.move;
}

TEST(PvCheck, ValidationPlaysTheMovesInTurn) {
  struct Case { int side; std::string text, problem; };
  const Case cases[] = {
      {Sente, "", ""},
      {Sente, "7776FU3334FU7675FU", ""},
      {Sente, "8833UM3233KI0055GI0022KA", ""},  // Gote's second KA is the captured UM
      {Sente, "7776FU3334FU7776FU", "move 3 (7776FU): no piece of Sente on 77"},
      {Gote, "0044KA7776FU0055KA", "move 3 (0055KA): drops KA, which Gote does not hold"},
      {Sente, "7776FU33\n34FU", "move 2 (33\\x0A34F): not a move: its digits must be 1 to 9 (00 for a drop)"},
      {Sente, "8833\n\x01", "move 1 (8833\\x0A\\x01): moves KA from 88 but names \\x0A\\x01"},
  };
  for (const Case& c : cases) {
    PvMoveList list;
    ParsePv(c.text, list);
    std::string problem;
    try {
      ValidatePv("log/n000.log", c.side, Sample(), c.text, list);
    } catch (const InputError& error) {
      problem = error.file() + ": " + error.problem();
    }
    EXPECT_EQ(problem, c.problem.empty() ? "" : "log/n000.log: " + c.problem) << c.text;
  }
}

}  // namespace
}  // namespace fv
