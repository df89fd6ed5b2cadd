#include <gtest/gtest.h>

#include <vector>

#include "eval/location_label.h"
#include "eval/ranking_order.h"

namespace fv {
namespace {

// Terms of the given values; kingLocation records the original position.
std::vector<FeatureContribution> Terms(const std::vector<std::int32_t>& values) {
  std::vector<FeatureContribution> terms;
  for (std::size_t n = 0; n < values.size(); ++n)
    terms.push_back({values[n], std::int16_t(n), 0, 0});
  return terms;
}

std::vector<std::int16_t> OriginalOrder(const std::vector<FeatureContribution>& terms) {
  std::vector<std::int16_t> order;
  for (const FeatureContribution& t : terms) order.push_back(t.kingLocation);
  return order;
}

TEST(RankingOrder, ModesAndStableTies) {
  struct Case {
    int mode;
    std::vector<std::int32_t> values;
    std::vector<std::int16_t> order;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    std::vector<FeatureContribution> terms = Terms(c.values);
    SortContributions(terms, RankingOrderOf(c.mode));
    EXPECT_EQ(OriginalOrder(terms), c.order) << "mode " << c.mode;
  }
}

TEST(LocationLabel, BoardSquaresAndHandSlots) {
  struct Case {
    int location, content;
    const char* text;
  };
  const Case cases[] = {
      {56, 1, "+77FU"}, {16, -14, "-22RY"}, {40, 0, "+55"},   {83, 3, "+KE*"},   {94, 0, "-HI*"},
      {76, 8, "+59OU"}, {4, -8, "-51OU"},   {0, -2, "-91KY"}, {8, 4, "+11GI"},   {80, 2, "+19KY"},
      {81, 18, "+FU*"}, {87, 1, "+HI*"},    {88, 2, "-FU*"},  {32, 13, "+44UM"}, {32, -13, "-44UM"},
      {85, 0, "+KI*"},  {80, 99, "+19??"},  {95, 0, "?"},     {-1, 0, "?"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LocationLabel(c.location, c.content).view(), c.text) << c.location;
  // Labels are values: an earlier one survives a later call.
  const LocationText first = LocationLabel(56, 1);
  const LocationText second = LocationLabel(94, 0);
  EXPECT_STREQ(first.c_str(), "+77FU");
  EXPECT_STREQ(second.c_str(), "-HI*");
}

}  // namespace
}  // namespace fv
