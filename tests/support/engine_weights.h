// Small deterministic weight tables in memory for the engine, and the
// explainer's evaluation fed from them: the yardstick for the engine's own
// evaluator, so that both programs are held to one computation.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/weights.h"
#include "eval/decomposition.h"
#include "tests/support/weight_files.h"

namespace fv::engine::testing {

// Weights in [-amplitude, amplitude] (all 0 for amplitude 0) with `blocks`
// KPP blocks, king square k reading block k % blocks: a few megabytes instead
// of the whole file.
inline Weights PseudoRandomWeights(std::uint64_t seed, int blocks, int amplitude) {
  // One value more than the KPP blocks: the evaluator loads weights in pairs.
  using Table = std::vector<std::int16_t>;
  auto kpp = std::make_shared<Table>(PackedKppBlockSize * std::size_t(blocks) + 1);
  auto kkp = std::make_shared<Table>(KkpValueCount);
  std::uint64_t n = seed << 32;
  for (auto* table : {kpp.get(), kkp.get()}) {
    for (std::int16_t& v : *table) {
      const int spread = std::uint16_t(fv::testing::HashWeight(n++)) % (2 * amplitude + 1);
      v = std::int16_t(spread - amplitude);
    }
  }
  Weights w;
  w.kpp = {kpp->data(), PackedKppBlockSize * std::size_t(blocks)};
  w.kkp = *kkp;
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k % blocks;
  w.storage = std::make_shared<std::pair<decltype(kpp), decltype(kkp)>>(kpp, kkp);
  return w;
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
  for (int f = 0; f < KkpFeatureCount; ++f) view.kkp[f] = std::int16_t(w.Kkp(king, otherKing, f));
  return view;
}

inline EvaluationBreakdown Explained(const Weights& w, const Position& pos) {
  const EvaluableLeaf evaluable = MakeEvaluableLeaf(pos);
  const FeatureList& list = evaluable.features;
  const int ks = pos.kingSquare[Sente], kg = pos.kingSquare[Gote];
  const LeafWeights leaf{ViewOf(w, ks, kg, list, true), ViewOf(w, 80 - kg, 80 - ks, list, false)};
  return DecomposeEvaluation(evaluable, leaf);
}

}  // namespace fv::engine::testing
