// The amounts of the demonstration rules (docs/demo-weights.md), in
// evaluation units. Tables by piece kind are indexed by code magnitude (KI
// stands for every gold-like piece); tables by distance by the number of king
// steps, 1 to 8 (index 0 unused: no piece shares the king's square).
#pragma once

#include <array>

#include "shogi/position.h"

namespace fv::demo {

using DistanceCurve = std::array<int, 9>;

// A table by code magnitude from the rows of FU, KY, KE, GI, KI, KA, HI, UM
// and RY in that order; the other kinds (the king, the promoted minor pieces)
// have a row of zeros.
template <class Row>
constexpr std::array<Row, PieceKindCount + 1> ByKind(const std::array<Row, 9>& rows) {
  constexpr int Kinds[] = {FU, KY, KE, GI, KI, KA, HI, UM, RY};
  std::array<Row, PieceKindCount + 1> table{};
  for (std::size_t i = 0; i < rows.size(); ++i) table[Kinds[i]] = rows[i];
  return table;
}

// Own piece at distance d of its own king: the defender's bonus.
constexpr auto DefenderBonus = ByKind<DistanceCurve>({{
    {0, 10, 8, 4, 2, 1, 1, 1, 1},     // FU
    {0, 6, 5, 4, 3, 2, 1, 1, 1},      // KY
    {0, 10, 8, 5, 3, 2, 1, 1, 1},     // KE
    {0, 32, 24, 14, 7, 4, 2, 1, 1},   // GI
    {0, 40, 28, 16, 8, 4, 2, 1, 1},   // KI
    {0, 8, 8, 6, 5, 4, 3, 2, 2},      // KA
    {0, 6, 6, 5, 4, 3, 3, 2, 2},      // HI
    {0, 30, 24, 16, 10, 6, 4, 3, 2},  // UM
    {0, 15, 12, 9, 6, 4, 3, 2, 2},    // RY
}});

// Opponent's piece at distance d of the own king: the attacker's penalty.
constexpr auto AttackerPenalty = ByKind<DistanceCurve>({{
    {0, 12, 6, 3, 2, 1, 1, 1, 1},       // FU
    {0, 12, 9, 6, 4, 3, 2, 1, 1},       // KY
    {0, 20, 22, 10, 5, 3, 2, 1, 1},     // KE
    {0, 40, 26, 14, 7, 4, 2, 1, 1},     // GI
    {0, 45, 30, 16, 8, 4, 2, 1, 1},     // KI
    {0, 20, 16, 13, 10, 8, 6, 4, 3},    // KA
    {0, 25, 20, 16, 12, 9, 6, 4, 3},    // HI
    {0, 50, 38, 27, 18, 12, 8, 5, 3},   // UM
    {0, 60, 45, 32, 22, 15, 10, 6, 4},  // RY
}});

// Each own piece in hand, by hand slot FU..HI: the KPP weight of a count is
// count times this, and the KKP weight count times HandKkpBonus.
constexpr std::array<int, HandKindCount> HandBonus = {8, 15, 18, 25, 28, 35, 40};
constexpr std::array<int, HandKindCount> HandKkpBonus = {1, 2, 2, 3, 3, 4, 5};

// Pairs, by the larger king distance of the two pieces.
constexpr DistanceCurve PawnWallBonus = {0, 12, 8, 5, 3, 0, 0, 0, 0};
constexpr DistanceCurve ConnectedBonus = {0, 16, 12, 9, 6, 4, 3, 2, 1};  // side by side
constexpr DistanceCurve NearbyBonus = {0, 8, 6, 4, 3, 2, 1, 1, 1};       // two steps apart
constexpr DistanceCurve AttackPairPenalty = {0, 24, 16, 10, 6, 3, 1, 0, 0};
// By the king distance of the piece in front of the rook or bishop.
constexpr DistanceCurve LineSupportPenalty = {0, 20, 14, 8, 4, 0, 0, 0, 0};

// KKP: own piece by kind and rank (index 0 is rank 1, the opponent's back rank).
constexpr auto RankBonus = ByKind<std::array<int, 9>>({{
    {0, 20, 15, 10, 6, 3, 0, 0, 0},        // FU
    {0, 8, 6, 4, 2, 1, 0, 0, 0},           // KY
    {0, 0, 6, 8, 6, 3, 0, 0, 0},           // KE
    {4, 6, 8, 8, 6, 3, 1, 0, 0},           // GI
    {4, 4, 4, 3, 2, 1, 0, 0, 0},           // KI
    {4, 4, 4, 2, 2, 2, 0, 0, 0},           // KA
    {20, 20, 20, 8, 8, 4, 0, 0, 0},        // HI
    {10, 10, 10, 6, 6, 6, 4, 4, 4},        // UM
    {25, 25, 25, 15, 15, 15, 10, 10, 10},  // RY
}});

// KKP: the own king by its rank (carried by the own pawn count in hand,
// present exactly once).
constexpr std::array<int, 9> KingRankBonus = {-60, -60, -60, -45, -30, -15, 0, 6, 10};

// KKP: own dragon, horse, gold-like piece or silver near the opponent's king.
constexpr DistanceCurve AttackSupportBonus = {0, 12, 8, 4, 0, 0, 0, 0, 0};
constexpr bool SupportsAttack(int kind) {
  return kind == RY || kind == UM || kind == KI || kind == GI;
}

}  // namespace fv::demo
