// The evaluation weights in memory: the packed KPP triangles and the KKP
// table of the weight file, in weight units (1/32 of an evaluation unit).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "eval/weight_file.h"
#include "eval/weight_layout.h"

namespace fv::engine {

struct Weights {
  std::vector<std::int16_t> kpp;  // packed KPP blocks, PackedKppBlockSize values each
  std::vector<std::int16_t> kkp;  // KkpValueCount values
  // The KPP block each king square reads: the square itself for a weight
  // file; small tables may let several squares share a block.
  std::array<int, KingSquareCount> kppBlock{};

  const std::int16_t* KppBlock(int king) const { return kpp.data() + PackedKppIndex(kppBlock[king], 0, 0); }
  int Kkp(int k1, int k2, int f) const { return kkp[KkpIndex(k1, k2, f)]; }
};

// Reads the whole weight file, opened and checked by fv::WeightFile::Open: the
// weights a shorter file does not reach read as 0, as they do for fvexplain.
Weights LoadWeights(const WeightFile& file);

}  // namespace fv::engine
