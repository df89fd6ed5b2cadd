#include "eval/analysis.h"

#include <algorithm>

#include "eval/ranking_order.h"

namespace fv {

EvaluationAnalysis AnalyzeEvaluation(const Position& leaf, const LeafWeights& weights, int sortMode,
                                     int rankCount) {
  EvaluationBreakdown breakdown = DecomposeEvaluation(leaf, weights);
  EvaluationAnalysis analysis;
  analysis.kkpSum = breakdown.kkpSum;
  analysis.kppSum = breakdown.kppSum;
  analysis.total = breakdown.total;
  analysis.material = breakdown.material;
  analysis.statistics = CollectStatistics(breakdown.terms);
  SortContributions(breakdown.terms, sortMode);
  const int shown = std::clamp(rankCount, 0, int(breakdown.terms.size()));
  analysis.ranked.assign(breakdown.terms.begin(), breakdown.terms.begin() + shown);
  return analysis;
}

EvaluationAnalysis AnalyzeEvaluation(const Position& leaf, const WeightFile& weights, int sortMode,
                                     int rankCount) {
  return AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, weights), sortMode, rankCount);
}

}  // namespace fv
