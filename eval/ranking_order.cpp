#include "eval/ranking_order.h"

#include <algorithm>

namespace fv {

void SortContributions(std::span<FeatureContribution> terms, int sortMode) {
  std::stable_sort(terms.begin(), terms.end(),
                   [sortMode](const FeatureContribution& a, const FeatureContribution& b) {
                     return RanksBefore(sortMode, a.value, b.value);
                   });
}

}  // namespace fv
