// The evaluation along the PV: its parts in the searched position and after
// each move, and the KPP terms that changed most from the searched position
// to the leaf.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "eval/decomposition.h"
#include "eval/weight_file.h"
#include "position/pv_moves.h"
#include "shogi/position.h"

namespace fv {

struct LinePoint {
  int ply;           // 0 the searched position, n after the n-th move
  std::string move;  // the CSA move that led here ("+2726FU"); empty at ply 0
  std::int32_t total, material, kkpSum, kppSum;  // as in EvaluationBreakdown
};

// One KPP weight whose term differs between the searched position and the
// leaf: a term present in only one of them counts as 0 in the other. The
// locations and contents are those of the leaf when the term is there, else
// those of the searched position.
struct TermChange {
  int kingLocation, firstLocation, secondLocation;
  int kingContent, firstContent, secondContent;
  std::int32_t before, after;  // weight units, Sente positive
};

struct PvLine {
  std::vector<LinePoint> points;    // ply 0 to the number of moves
  std::vector<TermChange> changes;  // largest |after - before| first, at most changeCount
};

// Takes apart, with the weights of `file`, the evaluation of every position of
// the PV: `positions` holds the searched one, then the one after each of
// `moves`.
PvLine ExplainLine(const std::vector<Position>& positions, const std::vector<PvMove>& moves,
                   const WeightFile& file, int changeCount);

}  // namespace fv
