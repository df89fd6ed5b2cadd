// Feature indices of the three-piece evaluation. A KPP feature names one piece
// on one square (as the view takes it) or one hand count, seen from one side's
// king; a KKP feature names one piece of the view's own side.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/piece_rules.h"
#include "shogi/position.h"

namespace fv {

// Features of one position at most: the 14 hand counts (each kind of each
// side, a count of 0 included) and the pieces of a set besides the kings.
// The weight layout has hand features for counts up to what a set holds.
constexpr int MaxFeatureEntries = 2 * HandKindCount + SetPiecesBesidesKings;

// KPP bases of board pieces by code magnitude 0..14 (0 and OU have none: -1).
constexpr std::array<std::int16_t, 15> KppOwnBoardBase = {-1, 81,  225, 360, 504, 666, 828, 1152,
                                                          -1, 666, 666, 666, 666, 990, 1314};
constexpr std::array<std::int16_t, 15> KppOpponentBoardBase = {
    -1, 162, 306, 441, 585, 747, 909, 1233, -1, 747, 747, 747, 747, 1071, 1395};

// KPP bases of hand counts by hand slot (FU..HI); the count is added.
constexpr std::array<std::int16_t, HandKindCount> KppOwnHandBase = {0, 38, 48, 58, 68, 78, 84};
constexpr std::array<std::int16_t, HandKindCount> KppOpponentHandBase = {19, 43, 53, 63,
                                                                         73, 81, 87};

// KKP bases (own pieces only) by code magnitude and by hand slot.
constexpr std::array<std::int16_t, 15> KkpBoardBase = {-1, 36,  108, 171, 252, 333, 414, 576,
                                                       -1, 333, 333, 333, 333, 495, 657};
constexpr std::array<std::int16_t, HandKindCount> KkpHandBase = {0, 19, 24, 29, 34, 39, 42};

// The square as a view takes it: unchanged for Sente, turned half a board for Gote.
constexpr int ViewSquare(Side view, int square) { return view == Sente ? square : 80 - square; }

// KPP index of a non-king piece `code` on `square` in the view of `view`.
constexpr int KppBoardIndex(Side view, PieceCode code, int square) {
  const int kind = code < 0 ? -code : code;
  const bool own = (code > 0) == (view == Sente);
  return (own ? KppOwnBoardBase : KppOpponentBoardBase)[kind] + ViewSquare(view, square);
}

// KPP index of `owner`'s count of hand kind `kind` in the view of `view`.
constexpr int KppHandIndex(Side view, Side owner, PieceKind kind, int count) {
  return (owner == view ? KppOwnHandBase : KppOpponentHandBase)[HandSlot(kind)] + count;
}

// KKP index of the view's own non-king piece of magnitude `kind` on `square`.
constexpr int KkpBoardIndex(Side view, int kind, int square) {
  return KkpBoardBase[kind] + ViewSquare(view, square);
}

constexpr int KkpHandIndex(PieceKind kind, int count) {
  return KkpHandBase[HandSlot(kind)] + count;
}

static_assert(KppBoardIndex(Sente, -FU, 30) == 192);
static_assert(KppBoardIndex(Gote, -FU, 30) == 131);
static_assert(KppBoardIndex(Sente, UM, 40) == 1030);
static_assert(KppBoardIndex(Gote, UM, 40) == 1111);

}  // namespace fv
