#include "tools/make-demo-weights/demo_weights.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "eval/feature_meaning.h"
#include "eval/weight_layout.h"
#include "position/position.h"

namespace fv {

namespace {

// Chebyshev distance of two squares: the number of king steps between them.
int Distance(int a, int b) {
  return std::max(std::abs(a % 9 - b % 9), std::abs(a / 9 - b / 9));
}

// Bonus for an own gold-like piece or silver at distance 1, 2, 3 of its king.
constexpr std::array<int, 4> DefenderBonus(int kind) {
  switch (kind) {
    case KI: return {0, 40, 25, 8};
    case GI: return {0, 30, 20, 6};
    default: return {};
  }
}

// Penalty for an opponent's piece at distance 1, 2, 3 of the own king.
constexpr std::array<int, 4> AttackerPenalty(int kind) {
  switch (kind) {
    case RY: return {0, 60, 40, 20};
    case UM: return {0, 50, 35, 15};
    case KI: return {0, 45, 25, 8};
    case GI: return {0, 40, 22, 6};
    case KE: return {0, 20, 20, 0};
    case HI: return {0, 20, 15, 0};
    case KA: return {0, 15, 10, 0};
    case KY: return {0, 10, 5, 0};
    case FU: return {0, 10, 0, 0};
    default: return {};
  }
}

// Bonus for each own piece in hand, by hand kind FU..HI.
constexpr std::array<int, HandKindCount> HandBonus = {8, 15, 18, 25, 28, 35, 40};

constexpr int CastlePairBonus = 15;
constexpr int AttackPairPenalty = 20;
constexpr int AttackSupportBonus = 10;

bool IsAttackPairKind(int kind) { return kind != FU && kind != KY; }

// One feature's part in the block of one king: its single weight (the
// diagonal) and whether it joins castle pairs or attack pairs.
struct FeatureRole {
  int single = 0;
  bool castle = false;
  bool attack = false;
};

FeatureRole RoleOf(int king, int index) {
  const FeatureMeaning& f = KppFeatureMeaning(index);
  FeatureRole role;
  if (f.inHand) {
    if (f.own) role.single = f.place * HandBonus[f.kind];
    return role;
  }
  const int d = Distance(f.place, king);
  if (d > 3) return role;
  if (f.own) {
    role.single = DefenderBonus(f.kind)[d];
    role.castle = role.single > 0 && d <= 2;
  } else {
    role.single = -AttackerPenalty(f.kind)[d];
    role.attack = d <= 2 && IsAttackPairKind(f.kind);
  }
  return role;
}

int PairAmount(const FeatureRole& a, const FeatureRole& b, int squareA, int squareB) {
  if (squareA == squareB) return 0;  // two pieces never share a square
  if (a.castle && b.castle && Distance(squareA, squareB) == 1) return CastlePairBonus;
  if (a.attack && b.attack) return -AttackPairPenalty;
  return 0;
}

std::int16_t ToWeight(int amount) { return static_cast<std::int16_t>(amount * WeightScale); }

}  // namespace

std::int16_t DemoKkpWeight(int king, int otherKing, int feature) {
  const FeatureMeaning& f = KkpFeatureMeaning(feature);
  if (f.inHand) {
    // The own pawn count is present exactly once, so it carries the king's
    // shelter: a king that leaves its own three ranks is exposed.
    if (f.kind != 0) return 0;
    const int rank = king / 9 + 1;
    return ToWeight(rank >= 7 ? 0 : rank == 6 ? -15 : -30);
  }
  const bool supports = f.kind == RY || f.kind == UM || f.kind == KI || f.kind == GI;
  return ToWeight(supports && Distance(f.place, otherKing) <= 2 ? AttackSupportBonus : 0);
}

void FillDemoKppBlock(int king, std::span<std::int16_t> block) {
  std::array<FeatureRole, KppFeatureCount> roles;
  std::array<int, KppFeatureCount> squares;
  for (int index = 0; index < KppFeatureCount; ++index) {
    roles[index] = RoleOf(king, index);
    const FeatureMeaning& f = KppFeatureMeaning(index);
    squares[index] = f.inHand ? -1 - index : f.place;  // hand counts pair with nothing
  }
  std::size_t at = 0;
  for (int i = 0; i < KppFeatureCount; ++i) {
    for (int j = 0; j < i; ++j) block[at++] = ToWeight(PairAmount(roles[i], roles[j], squares[i], squares[j]));
    block[at++] = ToWeight(roles[i].single);
  }
}

void WriteDemoWeights(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) throw std::runtime_error(path + ": cannot create: " + std::strerror(errno));
  auto write = [&](std::span<std::int16_t> values) {
    if constexpr (std::endian::native == std::endian::big) {
      for (std::int16_t& v : values) v = std::int16_t((std::uint16_t(v) >> 8) | (std::uint16_t(v) << 8));
    }
    if (std::fwrite(values.data(), sizeof(std::int16_t), values.size(), out.get()) != values.size()) {
      throw std::runtime_error(path + ": cannot write: " + std::strerror(errno));
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
  if (std::fclose(out.release()) != 0) throw std::runtime_error(path + ": cannot write: " + std::strerror(errno));
}

}  // namespace fv
