#include "eval/ranking_order.h"

#include <algorithm>

namespace fv {

void SortContributions(std::span<FeatureContribution> terms, RankingOrder order) {
  std::stable_sort(terms.begin(), terms.end(),
                   [order](const FeatureContribution& a, const FeatureContribution& b) {
                     return RanksBefore(order, a.value, b.value);
                   });
}

}  // namespace fv
