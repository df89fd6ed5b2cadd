// The leaf's evaluation explained piece by piece: the rank of every KPP term,
// the KKP weights of each piece, each piece's exact share of the evaluation,
// the total without it, and the totals with it on every other square. All of
// it comes from the decomposition's weights and arithmetic; the changed
// positions are evaluated incrementally, only the moved piece's rows changing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "eval/decomposition.h"
#include "eval/ranking_order.h"
#include "eval/weight_file.h"
#include "shogi/position.h"

namespace fv {

// The KKP weights of one non-king board piece or one hand count, in weight
// units, Sente positive.
struct KkpTerm {
  int location;  // 0..80 a square, 81..94 a hand slot
  int content;   // the piece code on the square, the count in the hand slot
  std::int32_t value;
};

// One piece on the board (kings included) or one hand slot (count 0 included).
struct PieceShare {
  int location;
  int content;
  // Twice the share in weight units: 32 × material value + KKP weights + half
  // of every KPP term the piece takes part in (the whole term with itself).
  std::int64_t halfUnits;
  // The evaluation total without the piece (one fewer in hand); none for a
  // king and for a count of 0.
  std::optional<std::int32_t> without;
};

struct SquareTotal {
  int square;
  std::int32_t total;  // evaluation units
};

// The totals with a non-king board piece moved to, or one piece of a hand slot
// dropped on, each square where it could stand, in ascending square order.
struct HeatMap {
  int location;  // the piece's square or hand slot
  int content;
  std::vector<SquareTotal> totals;
};

struct Explanation {
  EvaluationBreakdown breakdown;
  // Per term of breakdown.terms: its place 1..rankCount in the ranking, 0 for none.
  std::vector<int> ranks;
  std::vector<KkpTerm> kkpTerms;   // the decomposition's KKP order
  std::vector<PieceShare> pieces;  // ascending location
  std::vector<HeatMap> heatMaps;   // ascending location
};

// Reads the weights that explaining `leaf` needs: those of its evaluation and
// the rows of every feature a moved, removed or dropped piece would have.
// Checks the position first (see CheckEvaluable).
LeafWeights ReadExplanationWeights(const Position& leaf, const WeightFile& file);

// Explains `leaf` with weights from ReadExplanationWeights; the ranks follow
// `order` (stable, as the analysis ranks them).
Explanation ExplainLeaf(const Position& leaf, const LeafWeights& weights, RankingOrder order,
                        int rankCount);

}  // namespace fv
