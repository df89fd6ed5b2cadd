#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "io/input_error.h"
#include "position/pv_check.h"
#include "tests/support/positions.h"
#include "tests/support/thrown_message.h"

namespace fv {
namespace {

// Kings on 59 and 51; Sente's FU on 77, KA on 88 and KY on 12; Gote's FU on
// 33, KI on 32 and UM on 28; Sente holds a KE and a GI, Gote a FU and a HI.
const Position Sample = test::PositionOf("4k4/6g1L/6p2/9/9/9/2P6/1B5+b1/4K4 b SNrp 1");

// Gote's king on 11 hemmed in by its KY on 21 and KA on 22; Sente's KE on 24
// guards 12, its GI on 58 shields its king on 59 from Gote's HI on 55. Sente
// holds a FU and a GI.
const Position Corner = test::PositionOf("7lk/7b1/9/7N1/4r4/9/9/4S4/4K4 b SP 1");

TEST(PvCheck, EachMoveAgainstThePositionAndTheRules) {
  // Moves written as in a record, the sign naming the side that makes them.
  const auto problem = [](const Position& pos, const char* move) {
    return PvMoveProblem(move[0] == '+' ? Sente : Gote, pos, move + 1);
  };
  for (const char* move : {"+7776FU", "+8879KA", "+0055GI", "-3334FU", "-0044HI", "+5958OU",
                           "-2837UM", "-2827UM", "+1211NY", "+0043KE", "-0018FU", "+0011GI"})
    EXPECT_EQ(problem(Sample, move), "") << move;
  const char* const notAMove = "not a move: its digits must be 1 to 9 (00 for a drop)";
  const std::pair<const char*, const char*> refused[] = {
      {"+7706FU", notAMove},
      {"+0776FU", notAMove},
      {"+A776FU", notAMove},
      {"+0000FU", notAMove},
      {"+7776F", notAMove},
      {"+5554FU", "no piece of Sente on 55"},
      {"-7776FU", "no piece of Gote on 77"},
      {"+8877KA", "a piece of Sente stands on 77"},
      {"-3233KI", "a piece of Gote stands on 33"},
      {"+7776KI", "moves FU from 77 but names KI"},
      {"+8833RY", "moves KA from 88 but names RY"},
      {"-3231NG", "moves KI from 32 but names NG"},
      {"-2827KA", "moves UM from 28 but names KA"},
      {"+0055OU", "OU cannot be dropped"},
      {"+0055UM", "UM cannot be dropped"},
      {"+0055KA", "drops KA, which Sente does not hold"},
      {"-0055GI", "drops GI, which Gote does not hold"},
      {"+0033GI", "drops onto the occupied square 33"},
      {"-0077HI", "drops onto the occupied square 77"},
      {"+8851KA", "takes the king of Gote on 51"},
      {"-2859UM", "takes the king of Sente on 59"},
      // The rules of shogi: movement, jumps, promotion, pawn drops, the mover's king.
      {"+7766FU", "FU cannot move from 77 to 66"},
      {"+8828KA", "KA cannot move from 88 to 28"},
      {"-3241KI", "KI cannot move from 32 to 41"},
      {"-2888UM", "UM cannot move from 28 to 88"},
      {"+8833UM", "moves KA from 88 to 33, jumping over a piece"},
      {"+7776TO", "promotes FU from 77 to 76, outside the promotion zone"},
      {"-3334TO", "promotes FU from 33 to 34, outside the promotion zone"},
      {"+1211KY", "moves KY to 11 unpromoted, where it can never move"},
      {"+0042KE", "drops KE on 42, where it can never move"},
      {"-0019FU", "drops FU on 19, where it can never move"},
      {"-0035FU", "drops FU on file 3, where Gote has an unpromoted FU"},
  };
  for (const auto& [move, expected] : refused) EXPECT_EQ(problem(Sample, move), expected) << move;
  // A pawn drop that mates is refused; mate by any other drop, or a pawn drop that
  // does not mate, is not.
  const std::pair<const char*, const char*> corner[] = {
      {"+0012FU", "drops FU on 12 to give mate"},
      {"+0013FU", ""},
      {"+0012GI", ""},
      {"+5847GI", "leaves the king of Sente in check"},
  };
  for (const auto& [move, expected] : corner) EXPECT_EQ(problem(Corner, move), expected) << move;
}

TEST(PvCheck, PlaysTheMovesInTurnToTheLeaf) {
  const std::tuple<Side, std::string, std::string> cases[] = {
      // the side, the PV, the problem
      {Sente, "", ""},
      {Sente, "7776FU3334FU7675FU", ""},
      {Sente, "7776FU3334FU7776FU", "move 3 (7776FU): no piece of Sente on 77"},
      {Gote, "0044HI7776FU0055HI", "move 3 (0055HI): drops HI, which Gote does not hold"},
      {Sente, "7776FU33\n34FU",
       "move 2 (33\\x0A34F): not a move: its digits must be 1 to 9 (00 for a drop)"},
      {Sente, "8833\n\x01", "move 1 (8833\\x0A\\x01): moves KA from 88 but names \\x0A\\x01"},
      // Sente's king walks to 48 where the horse checks it: the pawn move is
      // refused only when the king is known to stand on its new square.
      {Sente, "5948OU2837UM7776FU", "move 3 (7776FU): leaves the king of Sente in check"},
      {Sente, "5948OU2837UM4837OU", ""},
  };
  for (const auto& [side, text, expected] : cases) {
    const std::string problem = test::ThrownMessage<InputError>([&] {
      EXPECT_EQ(CheckPv("log/n000.log", side, Sample, text).moves.size(), text.size() / 6);
    });
    EXPECT_EQ(problem, expected.empty() ? "" : "log/n000.log: " + expected) << text;
  }
  // A promotion, a capture of a promoted piece (joining the hand as KA), a
  // capture of a FU and king moves; the moves are kept as they were written.
  const std::string text = "7776FU2846UM8833UM3233KI5958OU5152OU";
  const CheckedPv pv = CheckPv("log", Sente, Sample, text);
  // Kings on 58 and 52, Sente's FU on 76 and KY on 12, Gote's UM on 46 and KI on 33.
  const Position leaf = test::PositionOf("9/4k3L/6g2/9/9/2P2+b3/9/4K4/9 b SNPrbp 1");
  EXPECT_EQ(std::tie(pv.Leaf().board, pv.Leaf().hand, pv.Leaf().kingSquare),
            std::tie(leaf.board, leaf.hand, leaf.kingSquare));
  std::string written;
  for (const PvMove& move : pv.moves) written += move.Text();
  EXPECT_EQ(std::tuple(written, pv.moves[1].Line(), pv.leafSideToMove, pv.leafHasNoLegalMove),
            std::tuple(text, "-2846UM", Sente, false));
}

TEST(PvCheck, LeafWithoutALegalMove) {
  for (const auto& [text, mate] : {std::pair{"0012GI", true}, {"0013FU", false}, {"", false}}) {
    const CheckedPv pv = CheckPv("log", Sente, Corner, text);
    EXPECT_EQ(std::pair(pv.leafHasNoLegalMove, pv.leafSideToMove),
              std::pair(mate, *text ? Gote : Sente))
        << text;
  }
}

}  // namespace
}  // namespace fv
