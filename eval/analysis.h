// The evaluation analysis of one leaf position: its KKP and KPP sums, the
// statistics of its KPP terms, and the ranking of the terms with their labels,
// written to the console and the report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "eval/decomposition.h"
#include "eval/feature_contribution.h"
#include "eval/ranking_order.h"
#include "eval/statistics.h"
#include "eval/weight_file.h"
#include "shogi/position.h"

namespace fv {

struct EvaluationAnalysis {
  std::int32_t total = 0;     // evaluation units, Sente positive
  std::int32_t material = 0;  // evaluation units, Sente positive
  ContributionStats statistics;
  // The first min(rankCount, number of terms) terms in ranking order: rank r
  // is ranked[r - 1]. Their pictures are drawn from these.
  std::vector<FeatureContribution> ranked;
};

// Writes to `console`: "KKP=" with the KKP sum in weight units, "KPP=" with the
// KPP sum divided by 32, the statistics, "RANKING:" and one line per rank with
// the value in weight units and the labels of the term's king and two cells.
// Writes the statistics to `report` as well.
EvaluationAnalysis AnalyzeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights,
                                     RankingOrder order, int rankCount, std::FILE* console,
                                     std::FILE* report);

// The report's evaluation total and material lines, signs always shown.
void WriteEvaluationTotal(std::FILE* report, const EvaluationAnalysis& analysis);

}  // namespace fv
