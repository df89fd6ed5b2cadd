#include <gtest/gtest.h>

#include "position/move.h"
#include "position/pv_moves.h"

namespace fv {
namespace {

// Each whole six-character group is one move, in text order; a cut-off group
// is dropped and earlier contents of the list are replaced.
TEST(PvMoves, WholeSixCharacterGroupsEncodeInTextOrder) {
  struct Case { const char* text; std::vector<std::int32_t> moves; };
  for (const Case& c : {Case{"7776FU3334FU", {7215, 3105}}, {"0055KA8822UM2211UM", {11048, 24592, 18440}},
                        {"0011FU0099HI0055OU", {10376, 11208, 11304}}, {"9191NY0055TO", {16384, 16384 + 80 * 128 + 40}},
                        {"", {}}, {"7776F", {}}, {"3334FU7776FU2", {3105, 7215}}}) {
    PvMoveList list{{1, 2, 3}};
    ParsePv(c.text, list);
    EXPECT_EQ(list.moves, c.moves) << c.text;
  }
  // 8822UM: from 88 (64) to 22 (16), promoting.
  EXPECT_EQ(MoveFrom(24592), 64);
  EXPECT_EQ(MoveTo(24592), 16);
  EXPECT_TRUE(MovePromotes(24592));
  EXPECT_FALSE(MovePromotes(7215));
}

}  // namespace
}  // namespace fv
