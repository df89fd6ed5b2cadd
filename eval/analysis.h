// The evaluation analysis of one leaf position: its sums, the statistics of
// its KPP terms, and the terms in ranking order.
#pragma once

#include <cstdint>
#include <vector>

#include "eval/decomposition.h"
#include "eval/feature_contribution.h"
#include "eval/ranking_order.h"
#include "eval/statistics.h"
#include "eval/weight_file.h"
#include "shogi/position.h"

namespace fv {

struct EvaluationAnalysis {
  std::int32_t kkpSum = 0;    // weight units, Sente positive
  std::int32_t kppSum = 0;    // weight units, Sente positive
  std::int32_t total = 0;     // evaluation units, Sente positive
  std::int32_t material = 0;  // evaluation units, Sente positive
  ContributionStats statistics;
  // The first min(rankCount, number of terms) terms in ranking order: rank r
  // is ranked[r - 1]. Their pictures are drawn from these.
  std::vector<FeatureContribution> ranked;
};

// Takes the evaluation of `leaf` apart with the weights of both king views and
// ranks its terms in `order` (see SortContributions), keeping the first
// `rankCount`.
EvaluationAnalysis AnalyzeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights,
                                     RankingOrder order, int rankCount);

}  // namespace fv
