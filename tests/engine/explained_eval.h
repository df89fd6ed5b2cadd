// The explainer's evaluation of a position (fv::DecomposeEvaluation), fed
// from the engine's weight tables in memory: the yardstick for the engine's
// own evaluator, so that both programs are held to one computation.
#pragma once

#include "engine/weights.h"
#include "eval/decomposition.h"

namespace fv::engine::testing {

// The weights of the view with its own king on `king` and the other king on
// `otherKing` (view squares): the KPP rows of the view's features of `list`
// and the KKP row.
inline ViewWeights ViewOf(const Weights& w, int king, int otherKing, const FeatureList& list, bool senteView) {
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
