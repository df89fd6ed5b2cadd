#include "shogi/movegen.h"

#include <array>

#include "shogi/piece_rules.h"

namespace fv {
namespace {

// A piece that may not stay unpromoted on `to`: it could never move again.
bool MustPromote(int side, int kind, int to) { return CanNeverMove(Side(side), kind, SquareOfCell(to)); }

Move* AddBoardMoves(Move* out, int side, int from, int to, Piece moved, Piece captured) {
  const int kind = KindOf(moved);
  if (CanPromote(kind) && (InPromotionZone(side, from) || InPromotionZone(side, to))) {
    *out++ = MakeBoardMove(from, to, true, moved, captured);
    if (MustPromote(side, kind, to)) return out;
  }
  *out++ = MakeBoardMove(from, to, false, moved, captured);
  return out;
}

Move* AddPieceMoves(const Board& b, Move* out, int from, GenMode mode) {
  const Piece p = b.At(from);
  const int us = SideOf(p);
  const int them = us ^ 1;
  auto target = [&](int to) {
    const Piece t = b.At(to);
    if (t == NoPiece ? mode == GenMode::All : IsSide(t, them)) out = AddBoardMoves(out, us, from, to, p, t);
  };
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    if (StepMask[p] & Bit(d)) target(from + offset);
    if (SlideMask[p] & Bit(d)) {
      int to = from + offset;
      for (; b.At(to) == NoPiece; to += offset) target(to);
      target(to);
    }
  }
  if (KindOf(p) == KE) {
    target(from + KnightOffsetLeft(us));
    target(from + KnightOffsetRight(us));
  }
  return out;
}

// True when a pawn dropped on `to` by `side` would attack the enemy king.
bool PawnDropChecks(const Board& b, int side, int to) {
  return to + DirectionOffset[side == Sente ? North : South] == b.KingCell(side ^ 1);
}

Move* AddDrops(const Board& b, Move* out) {
  const int us = b.SideToMove();
  for (int kind = FU; kind <= HI; ++kind) {
    if (b.Hand(us, kind) == 0) continue;
    for (int sq = 0; sq < SquareCount; ++sq) {
      const int to = CellOf(sq);
      if (b.At(to) != NoPiece || MustPromote(us, kind, to)) continue;
      if (kind == FU && b.HasPawnOnColumn(us, to)) continue;
      *out++ = MakeDrop(us, kind, to);
    }
  }
  return out;
}

// Cells of the pieces of the side to move that shield their king from a slider.
int FindPinned(const Board& b, std::array<int, 8>& pinned) {
  const int us = b.SideToMove();
  const int king = b.KingCell(us);
  int count = 0;
  if (king == 0) return 0;
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    int c = king + offset;
    while (b.At(c) == NoPiece) c += offset;
    if (!IsSide(b.At(c), us)) continue;
    int beyond = c + offset;
    while (b.At(beyond) == NoPiece) beyond += offset;
    const Piece p = b.At(beyond);
    if (IsSide(p, us ^ 1) && (SlideMask[p] & Bit(OppositeDirection[d]))) pinned[count++] = c;
  }
  return count;
}

bool LeavesKingSafe(Board& b, Move m) {
  b.Make(m);
  const bool safe = !b.MoverKingAttacked();
  b.Unmake(m);
  return safe;
}

}  // namespace

int GeneratePseudoLegal(const Board& b, Move* out, GenMode mode) {
  Move* const begin = out;
  const int us = b.SideToMove();
  for (int sq = 0; sq < SquareCount; ++sq)
    if (IsSide(b.At(CellOf(sq)), us)) out = AddPieceMoves(b, out, CellOf(sq), mode);
  if (mode == GenMode::All) out = AddDrops(b, out);
  return int(out - begin);
}

bool IsPawnDropMate(Board& b, Move m) {
  if (!IsDrop(m) || DropKind(m) != FU || !PawnDropChecks(b, b.SideToMove(), ToCell(m))) return false;
  b.Make(m);
  std::array<Move, MaxMoves> replies;
  const bool mate = GenerateLegal(b, replies.data()) == 0;
  b.Unmake(m);
  return mate;
}

int GenerateLegal(Board& b, Move* out, GenMode mode) {
  const int count = GeneratePseudoLegal(b, out, mode);
  const bool inCheck = b.InCheck();
  std::array<int, 8> pinned{};
  const int pinnedCount = inCheck ? 0 : FindPinned(b, pinned);
  const int king = b.KingCell(b.SideToMove());
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const Move m = out[i];
    bool needsTrial = inCheck || (!IsDrop(m) && FromCell(m) == king);
    for (int k = 0; k < pinnedCount && !needsTrial; ++k) needsTrial = !IsDrop(m) && FromCell(m) == pinned[k];
    if (needsTrial && !LeavesKingSafe(b, m)) continue;
    if (IsPawnDropMate(b, m)) continue;
    out[kept++] = m;
  }
  return kept;
}

}  // namespace fv
