#include "eval/feature_meaning.h"

#include <gtest/gtest.h>

#include "eval/feature_index.h"
#include "eval/weight_layout.h"

namespace fv {
namespace {

// Every index names one placement, and that placement's index is the index:
// together with the counts (1476 and 738 legal placements) the bases of the
// index tables neither overlap nor leave holes.
TEST(FeatureMeaning, IndicesRoundTrip) {
  for (int index = 0; index < KppFeatureCount; ++index) {
    const FeatureMeaning& f = KppFeatureMeaning(index);
    ASSERT_EQ(f.inHand ? KppHandIndex(Sente, f.own ? Sente : Gote, PieceKind(f.kind), f.place)
                       : KppBoardIndex(Sente, PieceCode(f.own ? f.kind : -f.kind), f.place),
              index);
  }
  for (int index = 0; index < KkpFeatureCount; ++index) {
    const FeatureMeaning& f = KkpFeatureMeaning(index);
    ASSERT_EQ(
        f.inHand ? KkpHandIndex(PieceKind(f.kind), f.place) : KkpBoardIndex(Sente, f.kind, f.place),
        index);
  }
}

}  // namespace
}  // namespace fv
