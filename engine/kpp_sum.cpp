#include "engine/kpp_sum.h"

#include "eval/weight_layout.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace fv::engine {
namespace {

int RowSumScalar(const std::int16_t* block, int row, const std::int16_t* features, int count) {
  int sum = 0;
  for (int j = 0; j < count; ++j) sum += block[PackedPairIndex(row, features[j])];
  return sum;
}

int RowDifferenceScalar(const std::int16_t* block, int a, int b, const std::int16_t* features,
                        int count) {
  int sum = 0;
  for (int j = 0; j < count; ++j)
    sum += block[PackedPairIndex(a, features[j])] - block[PackedPairIndex(b, features[j])];
  return sum;
}

#if defined(__x86_64__)

// Eight lanes: packed indices of (row, feature), gathered as 32-bit loads at
// 16-bit steps (each reads the weight and the next one; the low half is kept).
[[gnu::target("avx2")]] inline __m256i LoadFeatures(const std::int16_t* features) {
  return _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(features)));
}

[[gnu::target("avx2")]] inline __m256i PairIndex(__m256i row, __m256i feature) {
  const __m256i larger = _mm256_max_epi32(row, feature);
  const __m256i smaller = _mm256_min_epi32(row, feature);
  const __m256i triangle = _mm256_srli_epi32(
      _mm256_mullo_epi32(larger, _mm256_add_epi32(larger, _mm256_set1_epi32(1))), 1);
  return _mm256_add_epi32(triangle, smaller);
}

[[gnu::target("avx2")]] inline __m256i Gather(const std::int16_t* block, __m256i index,
                                              __m256i mask) {
  const __m256i pairs = _mm256_mask_i32gather_epi32(
      _mm256_setzero_si256(), reinterpret_cast<const int*>(block), index, mask, 2);
  return _mm256_srai_epi32(_mm256_slli_epi32(pairs, 16), 16);
}

// Lanes j + 0..7 that lie below `count`.
[[gnu::target("avx2")]] inline __m256i LanesBelow(int count, int j) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(count - j),
                            _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

[[gnu::target("avx2")]] inline int HorizontalSum(__m256i v) {
  __m128i s = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4e));
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xb1));
  return _mm_cvtsi128_si32(s);
}

[[gnu::target("avx2")]] int RowSumAvx2(const std::int16_t* block, int row,
                                       const std::int16_t* features, int count) {
  const __m256i rowLanes = _mm256_set1_epi32(row);
  __m256i sum = _mm256_setzero_si256();
  for (int j = 0; j < count; j += KppListStride) {
    const __m256i index = PairIndex(rowLanes, LoadFeatures(features + j));
    sum = _mm256_add_epi32(sum, Gather(block, index, LanesBelow(count, j)));
  }
  return HorizontalSum(sum);
}

[[gnu::target("avx2")]] int RowDifferenceAvx2(const std::int16_t* block, int a, int b,
                                              const std::int16_t* features, int count) {
  const __m256i aLanes = _mm256_set1_epi32(a);
  const __m256i bLanes = _mm256_set1_epi32(b);
  __m256i sum = _mm256_setzero_si256();
  for (int j = 0; j < count; j += KppListStride) {
    const __m256i feature = LoadFeatures(features + j);
    const __m256i mask = LanesBelow(count, j);
    sum = _mm256_add_epi32(sum, _mm256_sub_epi32(Gather(block, PairIndex(aLanes, feature), mask),
                                                 Gather(block, PairIndex(bLanes, feature), mask)));
  }
  return HorizontalSum(sum);
}

const bool HasAvx2 = [] {
  __builtin_cpu_init();  // may run before the library's own initialisation
  return __builtin_cpu_supports("avx2") != 0;
}();

#endif

}  // namespace

int KppRowSum(const std::int16_t* block, int row, const std::int16_t* features, int count) {
#if defined(__x86_64__)
  if (HasAvx2) return RowSumAvx2(block, row, features, count);
#endif
  return RowSumScalar(block, row, features, count);
}

int KppRowDifference(const std::int16_t* block, int a, int b, const std::int16_t* features,
                     int count) {
#if defined(__x86_64__)
  if (HasAvx2) return RowDifferenceAvx2(block, a, b, features, count);
#endif
  return RowDifferenceScalar(block, a, b, features, count);
}

}  // namespace fv::engine
