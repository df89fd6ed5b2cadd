// Everything the explanation outputs (log/explain.json and explain.html) show
// of one run: the leaf explained, the line along the PV and the facts that
// say what may be missing.
#pragma once

#include <cstdint>
#include <string>

#include "eval/explanation.h"
#include "eval/pv_line.h"
#include "shogi/position.h"

namespace fv {

struct ExplanationData {
  Position leaf;
  Side sideToMove = Sente;
  bool mated = false;  // the side to move is in check and has no legal move
  Explanation explanation;
  PvLine line;
  std::string lineProblem;  // why the line is missing, empty when it is there
  RankingOrder order = RankingOrder::LargestMagnitudeFirst;
  int rankCount = 0;
  std::uint64_t weightFileBytes = 0;
};

}  // namespace fv
