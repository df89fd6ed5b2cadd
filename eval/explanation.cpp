#include "eval/explanation.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "eval/feature_index.h"
#include "eval/ranking_order.h"
#include "position/material.h"

namespace fv {

namespace {

constexpr std::array<Side, 2> Views = {Sente, Gote};

// Where a piece of `code` can never move again: the farthest rank for an
// unpromoted FU or KY, the two farthest for a KE.
bool IsDeadRank(PieceCode code, int square) {
  const int kind = code < 0 ? -code : code;
  const int farRank = code > 0 ? RankOf(square) : 10 - RankOf(square);
  return ((kind == FU || kind == KY) && farRank == 1) || (kind == KE && farRank <= 2);
}

bool HasOwnPawnOnFile(const Position& pos, PieceCode pawn, int square) {
  for (int rank = 1; rank <= 9; ++rank) {
    if (pos.board[SquareOf(FileOf(square), rank)] == pawn) return true;
  }
  return false;
}

// Owner and kind of a hand slot (81..94), and the unpromoted piece it holds.
Side SlotOwner(int location) { return location < GoteHandLocation ? Sente : Gote; }

PieceKind SlotKind(int location) {
  return HandKinds[location - (location < GoteHandLocation ? SenteHandLocation : GoteHandLocation)];
}

PieceCode SlotPiece(int location) {
  const int code = SlotKind(location);
  return PieceCode(SlotOwner(location) == Sente ? code : -code);
}

// A piece that a heat map moves: a non-king board piece, or one piece of a
// hand slot holding at least one, with the squares it may stand on or be
// dropped on.
struct MovablePiece {
  int location;
  PieceCode code;  // for a hand slot the unpromoted piece of its owner
  std::vector<int> squares;
};

std::vector<MovablePiece> MovablePieces(const Position& pos) {
  std::vector<MovablePiece> pieces;
  auto add = [&](int location, PieceCode code, bool drop) {
    MovablePiece piece{location, code, {}};
    for (int square = 0; square < SquareCount; ++square) {
      if (pos.board[square] != 0 || IsDeadRank(code, square)) continue;
      if (drop && (code == FU || code == -FU) && HasOwnPawnOnFile(pos, code, square)) continue;
      piece.squares.push_back(square);
    }
    pieces.push_back(std::move(piece));
  };
  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    if (code != 0 && code != OU && code != -OU) add(square, code, false);
  }
  for (int location = SenteHandLocation; location < LocationCount; ++location) {
    if (CellAt(pos, location) > 0) add(location, SlotPiece(location), true);
  }
  return pieces;
}

// The leaf's features in each view, with the KPP weights of one feature
// against all the others: what changes when that one piece moves.
class Features {
 public:
  Features(const Position& pos, const LeafWeights& weights) : weights_(weights) {
    const FeatureList list = BuildFeatureList(pos);
    size_ = list.size;
    for (auto& entries : entryOf_) entries.fill(-1);
    for (int e = 0; e < size_; ++e) {
      index_[Sente][e] = list.entries[e].senteIndex;
      index_[Gote][e] = list.entries[e].goteIndex;
      entryOf_[Sente][list.entries[e].senteLocation] = e;
      entryOf_[Gote][list.entries[e].goteLocation] = e;
    }
  }

  int Entry(Side view, int location) const { return entryOf_[view][location]; }
  int Index(Side view, int entry) const { return index_[view][entry]; }

  // Sum of the weights of feature `x` with every feature of the view but
  // entry `skip`, plus `x` with itself: the view's KPP weights that a piece
  // of feature `x` in place of entry `skip` takes part in.
  std::int32_t Row(Side view, int x, int skip) const {
    const ViewWeights& w = view == Sente ? weights_.sente : weights_.gote;
    std::int32_t sum = w.Kpp(x, x);
    for (int e = 0; e < size_; ++e) {
      if (e != skip) sum += w.Kpp(x, index_[view][e]);
    }
    return sum;
  }

  // The same in both views, Sente positive: the change of the KPP sum is
  // Rows(new) - Rows(old) for a piece whose features change from old to new.
  std::int32_t Rows(const std::array<int, 2>& x, const std::array<int, 2>& skip) const {
    return Row(Sente, x[Sente], skip[Sente]) - Row(Gote, x[Gote], skip[Gote]);
  }

  // The KPP weight of `y` with `x`, Sente positive.
  std::int32_t Pair(const std::array<int, 2>& x, const std::array<int, 2>& y) const {
    return weights_.sente.Kpp(x[Sente], y[Sente]) - weights_.gote.Kpp(x[Gote], y[Gote]);
  }

 private:
  const LeafWeights& weights_;
  int size_ = 0;
  std::array<std::array<int, MaxFeatureEntries>, 2> index_{};
  std::array<std::array<int, LocationCount>, 2> entryOf_{};
};

std::array<int, 2> BoardIndices(PieceCode code, int square) {
  return {KppBoardIndex(Sente, code, square), KppBoardIndex(Gote, code, square)};
}

std::array<int, 2> HandIndices(Side owner, PieceKind kind, int count) {
  return {KppHandIndex(Sente, owner, kind, count), KppHandIndex(Gote, owner, kind, count)};
}

std::vector<int> Ranks(const std::vector<FeatureContribution>& terms, RankingOrder order,
                       int rankCount) {
  std::vector<int> sorted(terms.size());
  std::iota(sorted.begin(), sorted.end(), 0);
  std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
    return RanksBefore(order, terms[std::size_t(a)].value, terms[std::size_t(b)].value);
  });
  std::vector<int> ranks(terms.size(), 0);
  const int ranked = std::clamp(rankCount, 0, int(sorted.size()));
  for (int r = 0; r < ranked; ++r) ranks[std::size_t(sorted[std::size_t(r)])] = r + 1;
  return ranks;
}

std::vector<KkpTerm> KkpTerms(const Position& pos, const LeafWeights& weights) {
  std::vector<KkpTerm> terms;
  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    if (code != 0 && code != OU && code != -OU) {
      terms.push_back({square, code, BoardKkpTerm(weights, code, square)});
    }
  }
  for (const PieceKind kind : HandKinds) {
    for (const Side side : Views) {
      const int location = (side == Sente ? SenteHandLocation : GoteHandLocation) + HandSlot(kind);
      const int count = pos.hand[side][kind];
      terms.push_back({location, count, HandKkpTerm(weights, side, kind, count)});
    }
  }
  return terms;
}

// Shares from material, KKP weights and the halves of the KPP terms.
std::vector<PieceShare> Shares(const Position& pos, const Explanation& explanation) {
  std::array<std::int64_t, LocationCount> half{};
  for (int square = 0; square < SquareCount; ++square) {
    half[std::size_t(square)] = 2 * std::int64_t{WeightScale} * PieceValue(pos.board[square]);
  }
  for (int location = SenteHandLocation; location < LocationCount; ++location) {
    const PieceCode code = SlotPiece(location);
    half[std::size_t(location)] =
        2 * std::int64_t{WeightScale} * CellAt(pos, location) * PieceValue(code);
  }
  for (const KkpTerm& term : explanation.kkpTerms)
    half[std::size_t(term.location)] += 2 * term.value;
  for (const FeatureContribution& term : explanation.breakdown.terms) {
    half[std::size_t(term.firstLocation)] += term.value;
    half[std::size_t(term.secondLocation)] += term.value;
  }
  std::vector<PieceShare> shares;
  for (int location = 0; location < LocationCount; ++location) {
    if (location < SquareCount && pos.board[std::size_t(location)] == 0) continue;
    shares.push_back({location, CellAt(pos, location), half[std::size_t(location)], std::nullopt});
  }
  return shares;
}

}  // namespace

LeafWeights ReadExplanationWeights(const Position& leaf, const WeightFile& file) {
  CheckEvaluable(leaf);
  const FeatureList list = BuildFeatureList(leaf);
  std::array<std::vector<std::int16_t>, 2> needed;
  auto need = [&needed](const std::array<int, 2>& indices) {
    for (const Side view : Views) needed[view].push_back(std::int16_t(indices[view]));
  };
  for (int e = 0; e < list.size; ++e) need({list.entries[e].senteIndex, list.entries[e].goteIndex});
  for (const MovablePiece& piece : MovablePieces(leaf)) {
    if (piece.location >= SquareCount) {
      const Side owner = SlotOwner(piece.location);
      need(HandIndices(owner, SlotKind(piece.location), CellAt(leaf, piece.location) - 1));
    }
    for (const int square : piece.squares) need(BoardIndices(piece.code, square));
  }
  return file.ReadLeafWeights(leaf.kingSquare[Sente], leaf.kingSquare[Gote], needed[Sente],
                              needed[Gote]);
}

Explanation ExplainLeaf(const Position& leaf, const LeafWeights& weights, RankingOrder order,
                        int rankCount) {
  Explanation result;
  result.breakdown = DecomposeEvaluation(MakeEvaluableLeaf(leaf), weights);
  const EvaluationBreakdown& b = result.breakdown;
  result.ranks = Ranks(b.terms, order, rankCount);
  result.kkpTerms = KkpTerms(leaf, weights);
  result.pieces = Shares(leaf, result);

  const Features features(leaf, weights);
  auto piece = [&result](int location) -> PieceShare& {
    return *std::find_if(result.pieces.begin(), result.pieces.end(),
                         [location](const PieceShare& p) { return p.location == location; });
  };
  for (const MovablePiece& moved : MovablePieces(leaf)) {
    const int location = moved.location;
    const std::array<int, 2> entry = {features.Entry(Sente, location),
                                      features.Entry(Gote, location)};
    const std::array<int, 2> before = {features.Index(Sente, entry[Sente]),
                                       features.Index(Gote, entry[Gote])};
    HeatMap map{location, CellAt(leaf, location), {}};
    if (location < SquareCount) {
      // Taken off the board: its KPP rows, KKP weight and material go.
      const std::int32_t kkpWithout = b.kkpSum - BoardKkpTerm(weights, moved.code, location);
      const std::int32_t kppWithout = b.kppSum - features.Rows(before, entry);
      piece(location).without =
          EvaluationTotal(b.material - PieceValue(moved.code), kkpWithout, kppWithout);
      for (const int square : moved.squares) {
        const std::int32_t kpp =
            kppWithout + features.Rows(BoardIndices(moved.code, square), entry);
        const std::int32_t kkp = kkpWithout + BoardKkpTerm(weights, moved.code, square);
        map.totals.push_back({square, EvaluationTotal(b.material, kkp, kpp)});
      }
    } else {
      // One fewer in hand: the slot's feature becomes that of the smaller count.
      const Side owner = SlotOwner(location);
      const PieceKind kind = SlotKind(location);
      const int count = CellAt(leaf, location);
      const std::array<int, 2> fewer = HandIndices(owner, kind, count - 1);
      const std::int32_t kkpFewer = b.kkpSum - HandKkpTerm(weights, owner, kind, count) +
                                    HandKkpTerm(weights, owner, kind, count - 1);
      const std::int32_t kppFewer =
          b.kppSum - features.Rows(before, entry) + features.Rows(fewer, entry);
      piece(location).without =
          EvaluationTotal(b.material - PieceValue(moved.code), kkpFewer, kppFewer);
      for (const int square : moved.squares) {
        // The dropped piece joins every feature, the slot's new one included.
        const std::array<int, 2> dropped = BoardIndices(moved.code, square);
        const std::int32_t kpp =
            kppFewer + features.Rows(dropped, entry) + features.Pair(dropped, fewer);
        const std::int32_t kkp = kkpFewer + BoardKkpTerm(weights, moved.code, square);
        map.totals.push_back({square, EvaluationTotal(b.material, kkp, kpp)});
      }
    }
    result.heatMaps.push_back(std::move(map));
  }
  return result;
}

}  // namespace fv
