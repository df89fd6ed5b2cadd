#include "eval/statistics.h"

namespace fv {

void EnterTerm(ContributionStats& stats, Side view, std::int32_t value) {
  if (value == 0) {
    ++stats.side[view == Sente ? Gote : Sente].count;
    return;
  }
  SideStatistics& favoured = stats.side[value > 0 ? Sente : Gote];
  ++favoured.count;
  favoured.sum += value > 0 ? value : -value;
  ++favoured.bins[HistogramBin(value)];
}

ContributionStats CollectStatistics(std::span<const FeatureContribution> terms) {
  ContributionStats stats;
  for (std::size_t t = 0; t < terms.size(); ++t)
    EnterTerm(stats, t % 2 == 0 ? Sente : Gote, terms[t].value);
  return stats;
}

}  // namespace fv
