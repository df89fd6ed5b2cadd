// The evaluation weights: the packed KPP triangles and the KKP table of the
// weight file, in weight units (1/32 of an evaluation unit), read in place.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "eval/weight_layout.h"

namespace fv::engine {

struct Weights {
  std::span<const std::int16_t> kpp;  // packed KPP blocks, PackedKppBlockSize values each
  std::span<const std::int16_t> kkp;  // KkpValueCount values
  // The KPP block each king square reads: the square itself for a weight
  // file; small tables may let several squares share a block.
  std::array<int, KingSquareCount> kppBlock{};
  // Keeps the memory of the two tables alive. At least one readable value
  // must follow the last KPP value (the evaluator loads weights in pairs).
  std::shared_ptr<const void> storage;

  const std::int16_t* KppBlock(int king) const {
    return kpp.data() + PackedKppIndex(kppBlock[king], 0, 0);
  }
  int Kkp(int k1, int k2, int f) const { return kkp[KkpIndex(k1, k2, f)]; }
};

// Maps the weight file read-only, shared with the page cache. The weights
// that a shorter file does not reach read as 0 and bytes beyond the layout
// are ignored. A file that cannot be opened or mapped, or is not a regular
// file, throws fv::InputError.
Weights LoadWeights(const std::string& path);

}  // namespace fv::engine
