// Sums of KPP weights over a list of features, the inner loop of the
// evaluation update: with AVX2 gathers where the processor has them.
#pragma once

#include <cstdint>

namespace fv::engine {

// Lists of features are read in groups of this many entries: the memory of a
// list must reach the next multiple of it past `count`.
constexpr int KppListStride = 8;

// Sum over j < count of the weight of the pair (row, features[j]) in the
// packed KPP block `block`.
int KppRowSum(const std::int16_t* block, int row, const std::int16_t* features, int count);

// KppRowSum of row `a` less KppRowSum of row `b`, in one pass.
int KppRowDifference(const std::int16_t* block, int a, int b, const std::int16_t* features,
                     int count);

}  // namespace fv::engine
