// The order in which the KPP terms are ranked, chosen by the sort mode.
#pragma once

#include <cstdint>
#include <span>

#include "eval/feature_contribution.h"

namespace fv {

// Sort modes: LargestMagnitudeFirst 0, MostFavourableToSenteFirst 1; every
// other value ranks the term most favourable to Gote first.
constexpr int LargestMagnitudeFirst = 0;
constexpr int MostFavourableToSenteFirst = 1;

// True when a term of value `a` ranks before one of value `b` in `sortMode`.
constexpr bool RanksBefore(int sortMode, std::int32_t a, std::int32_t b) {
  switch (sortMode) {
    case LargestMagnitudeFirst: return (a < 0 ? -a : a) > (b < 0 ? -b : b);
    case MostFavourableToSenteFirst: return a > b;
    default: return a < b;
  }
}

// Sorts the terms in place in the order of `sortMode`. Stable: terms of equal
// rank keep their order, so the same terms always rank the same way.
void SortContributions(std::span<FeatureContribution> terms, int sortMode);

}  // namespace fv
