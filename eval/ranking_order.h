// The order in which the KPP terms are ranked.
#pragma once

#include <cstdint>
#include <span>

#include "eval/feature_contribution.h"

namespace fv {

enum class RankingOrder {
  LargestMagnitudeFirst,
  MostFavourableToSenteFirst,
  MostFavourableToGoteFirst,
};

// The order the command line's number chooses: 0 by size, 1 Sente's terms
// first, any other number Gote's terms first.
constexpr RankingOrder RankingOrderOf(int number) {
  return number == 0   ? RankingOrder::LargestMagnitudeFirst
         : number == 1 ? RankingOrder::MostFavourableToSenteFirst
                       : RankingOrder::MostFavourableToGoteFirst;
}

// True when a term of value `a` ranks before one of value `b` in `order`.
constexpr bool RanksBefore(RankingOrder order, std::int32_t a, std::int32_t b) {
  switch (order) {
    case RankingOrder::LargestMagnitudeFirst:
      return (a < 0 ? -a : a) > (b < 0 ? -b : b);
    case RankingOrder::MostFavourableToSenteFirst:
      return a > b;
    case RankingOrder::MostFavourableToGoteFirst:
      return a < b;
  }
  return false;
}

// Sorts the terms in place in `order`. Stable: terms of equal rank keep their
// order, so the same terms always rank the same way.
void SortContributions(std::span<FeatureContribution> terms, RankingOrder order);

}  // namespace fv
