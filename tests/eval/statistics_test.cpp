#include "eval/statistics.h"

#include <gtest/gtest.h>

#include <vector>

namespace fv {
namespace {

TEST(Statistics, EachTermEntersOneSide) {
  struct Case {
    const char* what;
    Side view;
    std::int32_t value;
    Side side;
    std::int32_t sum;
    int bin;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    ContributionStats stats;
    EnterTerm(stats, c.view, c.value);
    SideStatistics expected;
    expected.count = 1;
    expected.sum = c.sum;
    if (c.bin >= 0) expected.bins[c.bin] = 1;
    EXPECT_EQ(stats.side[c.side], expected) << c.what;
    EXPECT_EQ(stats.side[c.side == Sente ? Gote : Sente], SideStatistics{}) << c.what;
  }
}

TEST(Statistics, CountsCoverEveryTermAndViewsAlternate) {
  // Decomposition order: even terms are Sente-view, odd terms Gote-view.
  const std::vector<FeatureContribution> terms = {{0, 76, 81, 81}, {0, 4, 88, 88},  {5, 76, 1, 1},
                                                  {-5, 4, 1, 1},   {640, 76, 2, 2}, {0, 4, 2, 2}};
  const ContributionStats stats = CollectStatistics(terms);
  EXPECT_EQ(stats.side[Sente].count + stats.side[Gote].count, int(terms.size()));
  EXPECT_EQ(stats.side[Sente].count, 4);  // 5, 640 and two Gote-view zeros
  EXPECT_EQ(stats.side[Gote].count, 2);   // -5 and the Sente-view zero
  EXPECT_EQ(stats.side[Sente].sum, 645);
  EXPECT_EQ(stats.side[Sente].bins[2], 1);
}

}  // namespace
}  // namespace fv
