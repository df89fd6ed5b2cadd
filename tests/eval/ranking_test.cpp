#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "eval/location_label.h"
#include "eval/ranking_order.h"

namespace fv {
namespace {

TEST(RankingOrder, ModesAndStableTies) {
  const std::tuple<int, std::vector<std::int32_t>, std::vector<std::int16_t>> cases[] = {
      // 12, -40, 7, -7, 3: magnitude first, 7 before -7 as they came.
      {0, {12, -40, 7, -7, 3}, {1, 0, 2, 3, 4}},
      {0, {12, -40, -7, 7, 3}, {1, 0, 2, 3, 4}},
      {1, {12, -40, 7, -7, 3}, {0, 2, 4, 3, 1}},
      {2, {12, -40, 7, -7, 3}, {1, 3, 4, 2, 0}},
      {-1, {12, -40, 7, -7, 3}, {1, 3, 4, 2, 0}},
      {7, {12, -40, 7, -7, 3}, {1, 3, 4, 2, 0}},
      // Equal values keep the decomposition order in every mode.
      {0, {5, 5, -5, 5}, {0, 1, 2, 3}},
      {1, {5, 0, 5, 0}, {0, 2, 1, 3}},
      {2, {5, 0, 5, 0}, {1, 3, 0, 2}},
      // A Sente-view weight of -32768 and a Gote-view one (value +32768).
      {0, {100, -32768, 32767, 32768, -200}, {1, 3, 2, 4, 0}},
      {1, {100, -32768, 32767, 32768, -200}, {3, 2, 0, 4, 1}},
      {2, {100, -32768, 32767, 32768, -200}, {1, 4, 0, 2, 3}},
  };
  for (const auto& [mode, values, order] : cases) {
    // Terms of the given values; kingLocation records the original position.
    std::vector<FeatureContribution> terms;
    for (std::size_t n = 0; n < values.size(); ++n)
      terms.push_back({values[n], std::int16_t(n), 0, 0});
    SortContributions(terms, RankingOrderOf(mode));
    std::vector<std::int16_t> sorted;
    for (const FeatureContribution& t : terms) sorted.push_back(t.kingLocation);
    EXPECT_EQ(sorted, order) << "mode " << mode;
  }
}

TEST(LocationLabel, BoardSquaresAndHandSlots) {
  const std::tuple<int, int, const char*> cases[] = {
      {56, 1, "+77FU"}, {16, -14, "-22RY"}, {40, 0, "+55"},   {83, 3, "+KE*"},   {94, 0, "-HI*"},
      {76, 8, "+59OU"}, {4, -8, "-51OU"},   {0, -2, "-91KY"}, {8, 4, "+11GI"},   {80, 2, "+19KY"},
      {81, 18, "+FU*"}, {87, 1, "+HI*"},    {88, 2, "-FU*"},  {32, 13, "+44UM"}, {32, -13, "-44UM"},
      {85, 0, "+KI*"},  {80, 99, "+19??"},  {95, 0, "?"},     {-1, 0, "?"},
  };
  for (const auto& [location, content, text] : cases)
    EXPECT_EQ(LocationLabel(location, content).view(), text) << location;
  // Labels are values: an earlier one survives a later call.
  const LocationText first = LocationLabel(56, 1), second = LocationLabel(94, 0);
  EXPECT_EQ(std::string(first.c_str()) + second.c_str(), "+77FU-HI*");
}

}  // namespace
}  // namespace fv
