// Small deterministic weight tables for the engine tests.
#pragma once

#include <cstdint>

#include "engine/weights.h"

namespace fv::engine::testing {

// Weights in [-amplitude, amplitude] with `blocks` KPP blocks (king square k
// reads block k % blocks), a few megabytes instead of the whole file.
inline Weights PseudoRandomWeights(std::uint64_t seed, int blocks, int amplitude) {
  Weights w;
  w.kpp.resize(PackedKppBlockSize * std::size_t(blocks));
  w.kkp.resize(KkpValueCount);
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k % blocks;
  std::uint64_t state = seed;
  auto next = [&] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return std::int16_t(int((state >> 33) % std::uint64_t(2 * amplitude + 1)) - amplitude);
  };
  for (auto& v : w.kpp) v = next();
  for (auto& v : w.kkp) v = next();
  return w;
}

}  // namespace fv::engine::testing
