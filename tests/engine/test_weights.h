// Small deterministic weight tables for the engine tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/weights.h"

namespace fv::engine::testing {

// Weight tables in memory; `kpp` holds one value more than its blocks, as
// Weights asks of the memory after the last KPP value.
struct WeightTables {
  std::vector<std::int16_t> kpp, kkp;
};

// Weights over `tables` with `blocks` KPP blocks (king square k reads block
// k % blocks); later changes to the tables show through.
inline Weights WeightsOf(std::shared_ptr<WeightTables> tables, int blocks) {
  Weights w;
  w.kpp = {tables->kpp.data(), PackedKppBlockSize * std::size_t(blocks)};
  w.kkp = tables->kkp;
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k % blocks;
  w.storage = std::move(tables);
  return w;
}

// Zero tables with `blocks` KPP blocks.
inline std::shared_ptr<WeightTables> ZeroTables(int blocks) {
  return std::make_shared<WeightTables>(
      WeightTables{std::vector<std::int16_t>(PackedKppBlockSize * std::size_t(blocks) + 1),
                   std::vector<std::int16_t>(KkpValueCount)});
}

// Weights in [-amplitude, amplitude] with `blocks` KPP blocks, a few
// megabytes instead of the whole file.
inline Weights PseudoRandomWeights(std::uint64_t seed, int blocks, int amplitude) {
  const auto tables = ZeroTables(blocks);
  std::uint64_t state = seed;
  auto next = [&] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return std::int16_t(int((state >> 33) % std::uint64_t(2 * amplitude + 1)) - amplitude);
  };
  for (auto& v : tables->kpp) v = next();
  for (auto& v : tables->kkp) v = next();
  return WeightsOf(tables, blocks);
}

}  // namespace fv::engine::testing
