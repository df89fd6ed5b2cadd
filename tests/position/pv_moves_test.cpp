#include <gtest/gtest.h>

#include "position/move.h"
#include "position/pv_moves.h"

namespace fv {
namespace {

TEST(PvMoves, SixCharacterGroupsEncode) {
  struct Case { const char* move; int from, to; bool promoted; std::int32_t word; };
  for (const Case c : {Case{"7776FU", 56, 47, false, 7215}, {"3334FU", 24, 33, false, 3105}, {"0055KA", 86, 40, false, 11048},
                       {"8822UM", 64, 16, true, 24592}, {"2211UM", 16, 8, true, 18440}, {"0011FU", 81, 8, false, 10376},
                       {"0099HI", 87, 72, false, 11208}, {"0055OU", 88, 40, false, 11304}, {"9191NY", 0, 0, true, 16384},
                       {"0055TO", 80, 40, true, 16384 + 80 * 128 + 40}}) {
    PvMoveList list;
    ParsePv(c.move, list);
    ASSERT_EQ(list.count(), 1) << c.move;
    EXPECT_EQ(list.moves[0], c.word) << c.move;
    EXPECT_EQ(MoveFrom(list.moves[0]), c.from) << c.move;
    EXPECT_EQ(MoveTo(list.moves[0]), c.to) << c.move;
    EXPECT_EQ(MovePromotes(list.moves[0]), c.promoted) << c.move;
  }
}

TEST(PvMoves, WholeGroupsInTextOrder) {
  struct Case { const char* text; std::vector<std::int32_t> moves; };
  for (const Case& c : {Case{"", {}}, {"7776F", {}}, {"7776FU3334FU2", {7215, 3105}}, {"3334FU7776FU", {3105, 7215}}}) {
    PvMoveList list{{1, 2, 3}};
    ParsePv(c.text, list);
    EXPECT_EQ(list.moves, c.moves) << c.text;
  }
}

}  // namespace
}  // namespace fv
