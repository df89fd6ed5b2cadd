// The static evaluation of a position taken apart: material, the KKP sum, the
// KPP sum and every single KPP term, each tied to the king and the two cells
// that select its weight.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "eval/feature_contribution.h"
#include "eval/feature_index.h"
#include "eval/weight_file.h"
#include "shogi/position.h"

namespace fv {

// One piece on the board or one hand count, with its KPP feature index and the
// location of the cell it describes in each of the two views.
struct FeatureEntry {
  std::int16_t senteIndex;
  std::int16_t goteIndex;
  std::int16_t senteLocation;
  std::int16_t goteLocation;
};

struct FeatureList {
  std::array<FeatureEntry, MaxFeatureEntries> entries;
  int size = 0;
};

struct EvaluationBreakdown {
  std::int32_t kkpSum = 0;    // weight units
  std::int32_t kppSum = 0;    // weight units
  std::int32_t material = 0;  // evaluation units, Sente positive
  std::int32_t total = 0;     // evaluation units: (32 * material + kkpSum + kppSum) / 32
  // For each pair (i, j <= i) of feature entries, i ascending, then j
  // ascending: the Sente-view term, then the Gote-view term.
  std::vector<FeatureContribution> terms;
};

// A position that the weights can evaluate, with its feature list, checked
// and listed once for every step of the analysis.
struct EvaluableLeaf {
  Position position;
  FeatureList features;
};

// Throws InputError (file "leaf position") for a position the weights cannot
// evaluate: a side whose king square does not hold its king, a hand count
// outside 0 to what a set holds, or more than 38 pieces besides kings.
void CheckEvaluable(const Position& pos);

// Hand entries first (for each kind, the view's own count, then the
// opponent's), then the board pieces other than kings by ascending square.
// Squares holding a code outside -14..14 give no entry. Expects a position
// that passed CheckEvaluable.
FeatureList BuildFeatureList(const Position& pos);

// Checks `pos` (see CheckEvaluable) and lists its features.
EvaluableLeaf MakeEvaluableLeaf(const Position& pos);

// The KKP weight of the non-king board piece `code` on `square` in its owner's
// view, Sente positive, in weight units.
std::int32_t BoardKkpTerm(const LeafWeights& weights, PieceCode code, int square);

// The KKP weight of `side`'s count `count` of hand kind `kind`, Sente positive.
std::int32_t HandKkpTerm(const LeafWeights& weights, Side side, PieceKind kind, int count);

// (32 × material + KKP sum + KPP sum) / 32, truncated toward zero: the
// evaluation total in evaluation units from its parts.
constexpr std::int32_t EvaluationTotal(std::int32_t material, std::int32_t kkpSum,
                                       std::int32_t kppSum) {
  return (material * WeightScale + kkpSum + kppSum) / WeightScale;
}

// Takes the evaluation of the leaf apart with the weights of its two king views.
EvaluationBreakdown DecomposeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights);

// Reads from `file` the weights that the evaluation of the leaf needs.
LeafWeights ReadLeafWeights(const EvaluableLeaf& leaf, const WeightFile& file);

// Checks `pos` and takes its evaluation apart with the weights `file` holds for it.
EvaluationBreakdown DecomposeEvaluation(const Position& pos, const WeightFile& file);

}  // namespace fv
