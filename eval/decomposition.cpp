#include "eval/decomposition.h"

#include <string>

#include "eval/feature_index.h"
#include "io/input_error.h"
#include "position/material.h"

namespace fv {

namespace {

bool IsPieceCode(int code) { return code >= -PieceKindCount && code <= PieceKindCount; }

bool IsNonKingPiece(int code) {
  return code != 0 && code != OU && code != -OU && IsPieceCode(code);
}

[[noreturn]] void Refuse(const std::string& problem) { throw InputError("leaf position", problem); }

}  // namespace

void CheckEvaluable(const Position& pos) {
  for (const Side side : {Sente, Gote}) {
    const int square = pos.kingSquare[side];
    const int king = side == Sente ? OU : -OU;
    if (square >= SquareCount || pos.board[square] != king) {
      Refuse(std::string(SideName(side)) + " has no king on its king square");
    }
    for (const PieceKind kind : HandKinds) {
      const int count = pos.hand[side][kind];
      if (count < 0 || count > SetPieceCounts[kind]) {
        Refuse(std::string(SideName(side)) + " holds " + std::to_string(count) + " " +
               std::string(PieceNames[kind - 1]) + " in hand; the weights cover 0 to " +
               std::to_string(SetPieceCounts[kind]));
      }
    }
  }
  int pieces = 0;
  for (const PieceCode code : pos.board) pieces += IsNonKingPiece(code);
  if (pieces > SetPiecesBesidesKings) {
    Refuse(std::to_string(pieces) + " pieces besides the kings on the board; a set has " +
           std::to_string(SetPiecesBesidesKings));
  }
}

FeatureList BuildFeatureList(const Position& pos) {
  FeatureList list;
  auto add = [&list](int senteIndex, int goteIndex, int senteLocation, int goteLocation) {
    list.entries[list.size++] = {std::int16_t(senteIndex), std::int16_t(goteIndex),
                                 std::int16_t(senteLocation), std::int16_t(goteLocation)};
  };
  for (const PieceKind kind : HandKinds) {
    const int senteCount = pos.hand[Sente][kind];
    const int goteCount = pos.hand[Gote][kind];
    const int senteLocation = SenteHandLocation + HandSlot(kind);
    const int goteLocation = GoteHandLocation + HandSlot(kind);
    add(KppHandIndex(Sente, Sente, kind, senteCount), KppHandIndex(Gote, Gote, kind, goteCount),
        senteLocation, goteLocation);
    add(KppHandIndex(Sente, Gote, kind, goteCount), KppHandIndex(Gote, Sente, kind, senteCount),
        goteLocation, senteLocation);
  }
  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    if (!IsNonKingPiece(code)) continue;
    add(KppBoardIndex(Sente, code, square), KppBoardIndex(Gote, code, square), square, square);
  }
  return list;
}

std::int32_t BoardKkpTerm(const LeafWeights& weights, PieceCode code, int square) {
  if (code > 0) return weights.sente.kkp[KkpBoardIndex(Sente, code, square)];
  return -weights.gote.kkp[KkpBoardIndex(Gote, -code, square)];
}

std::int32_t HandKkpTerm(const LeafWeights& weights, Side side, PieceKind kind, int count) {
  if (side == Sente) return weights.sente.kkp[KkpHandIndex(kind, count)];
  return -weights.gote.kkp[KkpHandIndex(kind, count)];
}

EvaluableLeaf MakeEvaluableLeaf(const Position& pos) {
  CheckEvaluable(pos);
  return {pos, BuildFeatureList(pos)};
}

EvaluationBreakdown DecomposeEvaluation(const EvaluableLeaf& leaf, const LeafWeights& weights) {
  const Position& pos = leaf.position;
  const int senteKing = pos.kingSquare[Sente];
  const int goteKing = pos.kingSquare[Gote];
  EvaluationBreakdown result;

  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    if (IsNonKingPiece(code)) result.kkpSum += BoardKkpTerm(weights, code, square);
  }
  for (const PieceKind kind : HandKinds) {
    result.kkpSum += HandKkpTerm(weights, Sente, kind, pos.hand[Sente][kind]);
    result.kkpSum += HandKkpTerm(weights, Gote, kind, pos.hand[Gote][kind]);
  }

  const FeatureList& list = leaf.features;
  result.terms.reserve(std::size_t(list.size) * (list.size + 1));
  for (int i = 0; i < list.size; ++i) {
    const FeatureEntry& later = list.entries[i];
    for (int j = 0; j <= i; ++j) {
      const FeatureEntry& earlier = list.entries[j];
      const std::int32_t a = weights.sente.Kpp(later.senteIndex, earlier.senteIndex);
      const std::int32_t b = weights.gote.Kpp(later.goteIndex, earlier.goteIndex);
      result.kppSum += a - b;
      result.terms.push_back(
          {a, std::int16_t(senteKing), later.senteLocation, earlier.senteLocation});
      result.terms.push_back(
          {-b, std::int16_t(goteKing), later.goteLocation, earlier.goteLocation});
    }
  }

  result.material = CountMaterial(pos);
  result.total = EvaluationTotal(result.material, result.kkpSum, result.kppSum);
  return result;
}

LeafWeights ReadLeafWeights(const EvaluableLeaf& leaf, const WeightFile& file) {
  const Position& pos = leaf.position;
  const FeatureList& list = leaf.features;
  std::array<std::int16_t, MaxFeatureEntries> senteFeatures;
  std::array<std::int16_t, MaxFeatureEntries> goteFeatures;
  for (int e = 0; e < list.size; ++e) {
    senteFeatures[e] = list.entries[e].senteIndex;
    goteFeatures[e] = list.entries[e].goteIndex;
  }
  const auto used = std::size_t(list.size);
  return file.ReadLeafWeights(pos.kingSquare[Sente], pos.kingSquare[Gote],
                              std::span(senteFeatures).first(used),
                              std::span(goteFeatures).first(used));
}

EvaluationBreakdown DecomposeEvaluation(const Position& pos, const WeightFile& file) {
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  return DecomposeEvaluation(leaf, ReadLeafWeights(leaf, file));
}

}  // namespace fv
