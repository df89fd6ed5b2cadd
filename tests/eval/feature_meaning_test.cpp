#include "eval/feature_meaning.h"

#include <gtest/gtest.h>

#include "eval/feature_index.h"
#include "eval/weight_layout.h"

namespace fv {
namespace {

// Every index names one placement, and that placement's index is the index:
// together with the counts (1476 and 738 legal placements) the bases of the
// index tables neither overlap nor leave holes.
TEST(FeatureMeaning, KppIndicesRoundTrip) {
  for (int index = 0; index < KppFeatureCount; ++index) {
    const FeatureMeaning& f = KppFeatureMeaning(index);
    const int back = f.inHand ? KppHandIndex(Sente, f.own ? Sente : Gote, f.kind, f.place)
                              : KppBoardIndex(Sente, PieceCode(f.own ? f.kind : -f.kind), f.place);
    ASSERT_EQ(back, index);
  }
}

TEST(FeatureMeaning, KkpIndicesRoundTrip) {
  for (int index = 0; index < KkpFeatureCount; ++index) {
    const FeatureMeaning& f = KkpFeatureMeaning(index);
    const int back = f.inHand ? KkpHandIndex(f.kind, f.place) : KkpBoardIndex(Sente, f.kind, f.place);
    ASSERT_EQ(back, index);
  }
}

}  // namespace
}  // namespace fv
