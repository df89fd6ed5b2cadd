// Small deterministic weight tables for the engine tests, and the explainer's
// evaluation fed from them: the yardstick for the engine's own evaluator, so
// that both programs are held to one computation.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/weights.h"
#include "eval/decomposition.h"

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

// The weights of the view with its own king on `king` and the other king on
// `otherKing` (view squares): the KPP rows of the view's features of `list`
// and the KKP row.
inline ViewWeights ViewOf(const Weights& w, int king, int otherKing, const FeatureList& list,
                          bool senteView) {
  ViewWeights view;
  const std::int16_t* block = w.KppBlock(king);
  for (int e = 0; e < list.size; ++e) {
    const int m = senteView ? list.entries[e].senteIndex : list.entries[e].goteIndex;
    if (view.rowStart[m] >= 0) continue;
    view.rowStart[m] = std::int32_t(view.kppRows.size());
    const std::int16_t* row = block + PackedPairIndex(m, 0);
    view.kppRows.insert(view.kppRows.end(), row, row + m + 1);
  }
  for (int f = 0; f < KkpFeatureCount; ++f)
    view.kkp[f] = std::int16_t(w.Kkp(king, otherKing, f));
  return view;
}

inline EvaluationBreakdown Explained(const Weights& w, const Position& pos) {
  const EvaluableLeaf evaluable = MakeEvaluableLeaf(pos);
  const FeatureList& list = evaluable.features;
  const int ks = pos.kingSquare[Sente], kg = pos.kingSquare[Gote];
  const LeafWeights leaf{ViewOf(w, ks, kg, list, true),
                        ViewOf(w, 80 - kg, 80 - ks, list, false)};
  return DecomposeEvaluation(evaluable, leaf);
}

}  // namespace fv::engine::testing
