// Count, size sum and size histogram of the KPP terms that favour each side.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "eval/feature_contribution.h"
#include "shogi/position.h"

namespace fv {

constexpr int HistogramBinCount = 8;

struct SideStatistics {
  std::int32_t count = 0;
  std::int32_t sum = 0;  // magnitudes in weight units
  std::array<std::int32_t, HistogramBinCount> bins{};

  friend bool operator==(const SideStatistics&, const SideStatistics&) = default;
};

struct ContributionStats {
  std::array<SideStatistics, 2> side;  // Sente, Gote
};

// Bin of a term of `value` weight units: its shown size |value| / 32 in steps
// of ten, the last bin holding everything from 70 up.
constexpr int HistogramBin(std::int32_t value) {
  const std::int32_t magnitude = value < 0 ? -value : value;
  const std::int32_t bin = magnitude / 320;
  return bin < HistogramBinCount - 1 ? bin : HistogramBinCount - 1;
}

// Enters one term of the view of `view`: a positive value counts for Sente, a
// negative one for Gote, each with its size; a zero value only raises the
// count of the side opposite to the view.
void EnterTerm(ContributionStats& stats, Side view, std::int32_t value);

// Statistics of terms in decomposition order (even index: Sente view, odd
// index: Gote view).
ContributionStats CollectStatistics(std::span<const FeatureContribution> terms);

}  // namespace fv
