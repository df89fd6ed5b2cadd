// Layout of the engine's weight file: two headerless arrays of little-endian
// signed 16-bit weights, the packed KPP triangles of the 81 king squares, then
// the KKP table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fv {

constexpr int KingSquareCount = 81;
constexpr int KppFeatureCount = 1476;
constexpr int KkpFeatureCount = 738;
constexpr std::size_t PackedKppBlockSize = std::size_t{KppFeatureCount} * (KppFeatureCount + 1) / 2;
constexpr std::size_t PackedKppValueCount = PackedKppBlockSize * KingSquareCount;
constexpr std::size_t KkpValueCount =
    std::size_t{KingSquareCount} * KingSquareCount * KkpFeatureCount;
constexpr std::size_t WeightBytes = 2;
constexpr std::size_t KkpSectionByteOffset = PackedKppValueCount * WeightBytes;
constexpr std::size_t WeightFileBytes = (PackedKppValueCount + KkpValueCount) * WeightBytes;

// One weight unit is 1/32 of an evaluation unit.
constexpr int WeightScale = 32;

// Index of the pair (i, j) within one packed KPP block; the pair is stored once,
// under the larger index first, so (i, j) and (j, i) share a weight.
constexpr std::size_t PackedPairIndex(int i, int j) {
  const std::size_t m = i > j ? i : j;
  const std::size_t n = i > j ? j : i;
  return m * (m + 1) / 2 + n;
}

// Value index (not byte offset) of kpp[king][i][j] within the KPP section.
constexpr std::size_t PackedKppIndex(int king, int i, int j) {
  return std::size_t(king) * PackedKppBlockSize + PackedPairIndex(i, j);
}

// Value index of kkp[k1][k2][f] within the KKP section.
constexpr std::size_t KkpIndex(int k1, int k2, int f) {
  return (std::size_t(k1) * KingSquareCount + std::size_t(k2)) * KkpFeatureCount + std::size_t(f);
}

static_assert(PackedKppBlockSize == 1'090'026);
static_assert(KkpSectionByteOffset == 176'584'212);
static_assert(WeightFileBytes == 186'268'248);

}  // namespace fv
