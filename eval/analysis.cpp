#include "eval/analysis.h"

#include <algorithm>

#include "eval/location_label.h"
#include "eval/ranking_order.h"
#include "eval/weight_layout.h"

namespace fv {

namespace {

void WriteRankedLine(std::FILE* console, const Position& leaf, int rank, const FeatureContribution& term) {
  std::fprintf(console, "%d: value = %d  [%s]-[%s]-[%s]\n", rank, term.value,
               LocationLabel(term.kingLocation, CellAt(leaf, term.kingLocation)).c_str(),
               LocationLabel(term.firstLocation, CellAt(leaf, term.firstLocation)).c_str(),
               LocationLabel(term.secondLocation, CellAt(leaf, term.secondLocation)).c_str());
}

}  // namespace

EvaluationAnalysis AnalyzeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights,
                                     RankingOrder order, int rankCount, std::FILE* console,
                                     std::FILE* report) {
  EvaluationBreakdown breakdown = DecomposeEvaluation(leaf, weights);
  std::fprintf(console, "KKP=%d\n", breakdown.kkpSum);
  std::fprintf(console, "KPP=%d\n", breakdown.kppSum / WeightScale);

  EvaluationAnalysis analysis;
  analysis.total = breakdown.total;
  analysis.material = breakdown.material;
  analysis.statistics = CollectStatistics(breakdown.terms);
  WriteStatistics(analysis.statistics, console, report);

  SortContributions(breakdown.terms, order);
  std::fprintf(console, "RANKING:\n");
  const int shown = std::clamp(rankCount, 0, int(breakdown.terms.size()));
  for (int rank = 1; rank <= shown; ++rank)
    WriteRankedLine(console, leaf.position, rank, breakdown.terms[rank - 1]);
  analysis.ranked.assign(breakdown.terms.begin(), breakdown.terms.begin() + shown);
  return analysis;
}

void WriteEvaluationTotal(std::FILE* report, const EvaluationAnalysis& analysis) {
  std::fprintf(report, "evaluation value (material+position)=%+d<br><br>", analysis.total);
  std::fprintf(report, "material=%+d<br>", analysis.material);
}

}  // namespace fv
