// A plain, non-incremental evaluation of a Position, computed term by term
// from the weight layout: the yardstick for the engine's evaluator.
#pragma once

#include <vector>

#include "engine/weights.h"
#include "eval/feature_index.h"
#include "position/material.h"
#include "position/position.h"

namespace fv::engine::testing {

struct ReferenceEvaluation {
  int material;
  int kkpSum;  // weight units
  int kppSum;  // weight units
  int total;   // (material x 32 + kkp + kpp) / 32, toward zero
};

inline int ReferenceKpp(const Weights& w, int king, int i, int j) {
  return w.kpp[PackedKppIndex(w.kppBlock[king], i, j)];
}

inline ReferenceEvaluation Evaluate(const Weights& w, const Position& pos) {
  const int ks = pos.kingSquare[Sente];
  const int kg = pos.kingSquare[Gote];
  std::vector<int> sente, gote;  // KPP indices of both views, entry by entry
  int kkp = 0;
  for (int h = 0; h < HandKindCount; ++h) {
    sente.push_back(KppOwnHandBase[h] + pos.hand[Sente][h]);
    gote.push_back(KppOwnHandBase[h] + pos.hand[Gote][h]);
    sente.push_back(KppOpponentHandBase[h] + pos.hand[Gote][h]);
    gote.push_back(KppOpponentHandBase[h] + pos.hand[Sente][h]);
    kkp += w.kkp[KkpIndex(ks, kg, KkpHandBase[h] + pos.hand[Sente][h])];
    kkp -= w.kkp[KkpIndex(80 - kg, 80 - ks, KkpHandBase[h] + pos.hand[Gote][h])];
  }
  for (int s = 0; s < SquareCount; ++s) {
    const int c = pos.board[s];
    const int kind = c < 0 ? -c : c;
    if (c == 0 || kind == OU) continue;
    if (c > 0) {
      sente.push_back(KppOwnBoardBase[kind] + s);
      gote.push_back(KppOpponentBoardBase[kind] + 80 - s);
      kkp += w.kkp[KkpIndex(ks, kg, KkpBoardBase[kind] + s)];
    } else {
      sente.push_back(KppOpponentBoardBase[kind] + s);
      gote.push_back(KppOwnBoardBase[kind] + 80 - s);
      kkp -= w.kkp[KkpIndex(80 - kg, 80 - ks, KkpBoardBase[kind] + 80 - s)];
    }
  }
  int kpp = 0;
  for (std::size_t i = 0; i < sente.size(); ++i)
    for (std::size_t j = 0; j <= i; ++j)
      kpp += ReferenceKpp(w, ks, sente[i], sente[j]) - ReferenceKpp(w, 80 - kg, gote[i], gote[j]);
  const int material = CountMaterial(pos);
  return {material, kkp, kpp, (material * 32 + kkp + kpp) / 32};
}

}  // namespace fv::engine::testing
