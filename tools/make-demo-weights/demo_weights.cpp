#include "tools/make-demo-weights/demo_weights.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include "eval/feature_meaning.h"
#include "eval/weight_layout.h"
#include "io/system_error.h"
#include "shogi/position.h"
#include "tools/make-demo-weights/demo_rules.h"

namespace fv {

namespace {

using namespace demo;

// A board square as a view takes it, split into rank (0 is rank 1, the
// opponent's back rank) and column.
struct Place {
  int rank, column;
};

Place PlaceOf(int square) { return {square / 9, square % 9}; }

// Chebyshev distance: the number of king steps between two squares.
int Distance(Place a, Place b) {
  return std::max(std::abs(a.rank - b.rank), std::abs(a.column - b.column));
}

// One KPP feature as the rules see it in the block of one king.
struct Feature {
  bool onBoard = false;
  bool own = false;
  int kind = 0;
  Place place{};
  int kingDistance = 0;
  int single = 0;  // the diagonal weight
};

Feature FeatureOf(Place king, int index) {
  const FeatureMeaning& m = KppFeatureMeaning(index);
  Feature f;
  f.own = m.own;
  f.kind = m.kind;
  if (m.inHand) {
    if (m.own) f.single = m.place * HandBonus[HandSlot(PieceKind(m.kind))];
    return f;
  }
  f.onBoard = true;
  f.place = PlaceOf(m.place);
  f.kingDistance = Distance(f.place, king);
  f.single =
      m.own ? DefenderBonus[m.kind][f.kingDistance] : -AttackerPenalty[m.kind][f.kingDistance];
  return f;
}

bool IsRookLike(int kind) { return kind == HI || kind == RY; }
bool IsBishopLike(int kind) { return kind == KA || kind == UM; }

// Whether `line` (a rook or bishop) stands behind `front` as seen from the
// king: on its file or diagonal and farther away.
bool StandsBehind(const Feature& line, const Feature& front) {
  if (line.kingDistance <= front.kingDistance) return false;
  const int dr = std::abs(line.place.rank - front.place.rank);
  const int dc = std::abs(line.place.column - front.place.column);
  return (IsRookLike(line.kind) && dc == 0) || (IsBishopLike(line.kind) && dr == dc);
}

// Two own pieces: a pawn wall in front of the king, else pieces side by side
// or two steps apart.
int OwnPairAmount(const Feature& a, const Feature& b, int farther, Place king) {
  if (a.kind == FU && b.kind == FU && std::abs(a.place.column - b.place.column) == 1 &&
      a.place.rank < king.rank && b.place.rank < king.rank) {
    return PawnWallBonus[farther];
  }
  const int apart = Distance(a.place, b.place);
  return apart == 1 ? ConnectedBonus[farther] : apart == 2 ? NearbyBonus[farther] : 0;
}

// Two of the opponent's pieces: a rook or bishop behind an attacker, else two
// attackers other than pawns near the king.
int OpponentPairAmount(const Feature& a, const Feature& b, int farther) {
  if (StandsBehind(a, b)) return -LineSupportPenalty[b.kingDistance];
  if (StandsBehind(b, a)) return -LineSupportPenalty[a.kingDistance];
  return a.kind != FU && b.kind != FU ? -AttackPairPenalty[farther] : 0;
}

// Two board pieces of the same owner.
int PairAmount(const Feature& a, const Feature& b, Place king) {
  if (a.place.rank == b.place.rank && a.place.column == b.place.column) return 0;  // never together
  const int farther = std::max(a.kingDistance, b.kingDistance);
  return a.own ? OwnPairAmount(a, b, farther, king) : OpponentPairAmount(a, b, farther);
}

std::int16_t ToWeight(int amount) { return static_cast<std::int16_t>(amount * WeightScale); }

}  // namespace

std::int16_t DemoKkpWeight(int king, int otherKing, int feature) {
  const FeatureMeaning& f = KkpFeatureMeaning(feature);
  if (f.inHand) {
    // The own pawn count is present exactly once, so it carries the king's rank.
    const int kingRank = f.kind == FU ? KingRankBonus[PlaceOf(king).rank] : 0;
    return ToWeight(kingRank + f.place * HandKkpBonus[HandSlot(PieceKind(f.kind))]);
  }
  const Place place = PlaceOf(f.place);
  const int support =
      SupportsAttack(f.kind) ? AttackSupportBonus[Distance(place, PlaceOf(otherKing))] : 0;
  return ToWeight(RankBonus[f.kind][place.rank] + support);
}

void FillDemoKppBlock(int king, std::span<std::int16_t> block) {
  const Place kingPlace = PlaceOf(king);
  std::vector<Feature> features(KppFeatureCount);
  std::array<std::vector<int>, 2> boardIndices;  // by owner: opponent's, own; ascending
  for (int index = 0; index < KppFeatureCount; ++index) {
    features[index] = FeatureOf(kingPlace, index);
    if (features[index].onBoard) boardIndices[features[index].own].push_back(index);
  }
  // Only two board pieces of one owner form a pair; every other pair is 0.
  std::fill(block.begin(), block.end(), std::int16_t{0});
  for (int i = 0; i < KppFeatureCount; ++i) {
    const Feature& a = features[i];
    const std::size_t row = PackedPairIndex(i, 0);
    block[row + i] = ToWeight(a.single);
    if (!a.onBoard) continue;
    for (const int j : boardIndices[a.own]) {
      if (j >= i) break;
      block[row + j] = ToWeight(PairAmount(a, features[j], kingPlace));
    }
  }
}

void WriteDemoWeights(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) throw std::runtime_error(path + ": " + SystemProblem("cannot create", errno));
  auto write = [&](std::span<std::int16_t> values) {
    if constexpr (std::endian::native == std::endian::big) {
      for (std::int16_t& v : values)
        v = std::int16_t((std::uint16_t(v) >> 8) | (std::uint16_t(v) << 8));
    }
    if (std::fwrite(values.data(), sizeof(std::int16_t), values.size(), out.get()) !=
        values.size()) {
      throw std::runtime_error(path + ": " + SystemProblem("cannot write", errno));
    }
  };
  std::vector<std::int16_t> block(PackedKppBlockSize);
  for (int king = 0; king < KingSquareCount; ++king) {
    FillDemoKppBlock(king, block);
    write(block);
  }
  std::vector<std::int16_t> row(KkpFeatureCount);
  for (int king = 0; king < KingSquareCount; ++king) {
    for (int otherKing = 0; otherKing < KingSquareCount; ++otherKing) {
      for (int f = 0; f < KkpFeatureCount; ++f) row[f] = DemoKkpWeight(king, otherKing, f);
      write(row);
    }
  }
  if (std::fclose(out.release()) != 0)
    throw std::runtime_error(path + ": " + SystemProblem("cannot write", errno));
}

}  // namespace fv
