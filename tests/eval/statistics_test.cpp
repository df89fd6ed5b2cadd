#include "eval/statistics.h"

#include <gtest/gtest.h>

#include <tuple>

namespace fv {
namespace {

TEST(Statistics, EachTermEntersOneSide) {
  const std::tuple<const char*, Side, std::int32_t, Side, std::int32_t, int> cases[] = {
      {"319 is shown as 9", Sente, 319, Sente, 319, 0},
      {"320 is shown as 10", Sente, 320, Sente, 320, 1},
      {"shown size 0 still counts", Gote, 31, Sente, 31, 0},
      {"negative Sente view", Sente, -2240, Gote, 2240, 7},
      {"69 shown", Gote, -2239, Gote, 2239, 6},
      {"a gote weight of -32768", Gote, 32768, Sente, 32768, 7},
      {"a sente weight of -32768", Sente, -32768, Gote, 32768, 7},
      {"zero in the Sente view counts for Gote", Sente, 0, Gote, 0, -1},
      {"zero in the Gote view counts for Sente", Gote, 0, Sente, 0, -1},
  };
  for (const auto& [what, view, value, side, sum, bin] : cases) {
    ContributionStats stats;
    EnterTerm(stats, view, value);
    SideStatistics expected;
    expected.count = 1;
    expected.sum = sum;
    if (bin >= 0) expected.bins[bin] = 1;
    EXPECT_EQ(stats.side[side], expected) << what;
    EXPECT_EQ(stats.side[side == Sente ? Gote : Sente], SideStatistics{}) << what;
  }
}

}  // namespace
}  // namespace fv
