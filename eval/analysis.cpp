#include "eval/analysis.h"

#include <algorithm>

#include "eval/ranking_order.h"

namespace fv {

EvaluationAnalysis AnalyzeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights,
                                     RankingOrder order, int rankCount) {
  EvaluationBreakdown breakdown = DecomposeEvaluation(leaf, weights);
  EvaluationAnalysis analysis;
  analysis.kkpSum = breakdown.kkpSum;
  analysis.kppSum = breakdown.kppSum;
  analysis.total = breakdown.total;
  analysis.material = breakdown.material;
  analysis.statistics = CollectStatistics(breakdown.terms);
  SortContributions(breakdown.terms, order);
  const int shown = std::clamp(rankCount, 0, int(breakdown.terms.size()));
  analysis.ranked.assign(breakdown.terms.begin(), breakdown.terms.begin() + shown);
  return analysis;
}

}  // namespace fv
