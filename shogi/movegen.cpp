#include "shogi/movegen.h"

#include <array>
#include <bit>

#include "shogi/piece_rules.h"

namespace fv {
namespace {

// The directions a piece moves in, as cell offsets in Direction order (the
// knight's two jumps last), each a single step or a slide.
struct Reach {
  std::array<std::int8_t, 8> offsets{};
  std::array<bool, 8> slides{};
  int count = 0;
};

constexpr std::array<Reach, 32> MakeReachTable() {
  std::array<Reach, 32> table{};
  for (const Side side : {Sente, Gote}) {
    for (int kind = FU; kind <= RY; ++kind) {
      const Piece p = MakePiece(side, kind);
      Reach& r = table[p];
      auto add = [&r](int offset, bool slide) {
        r.offsets[r.count] = std::int8_t(offset);
        r.slides[r.count++] = slide;
      };
      for (int d = 0; d < 8; ++d)
        if ((StepMask[p] | SlideMask[p]) & Bit(d)) add(DirectionOffset[d], SlideMask[p] & Bit(d));
      if (kind == KE) {
        add(KnightOffsetLeft(side), false);
        add(KnightOffsetRight(side), false);
      }
    }
  }
  return table;
}
constexpr std::array<Reach, 32> ReachOf = MakeReachTable();

// A piece that may not stay unpromoted on `to`: it could never move again.
bool MustPromote(Side side, int kind, int to) { return CanNeverMove(side, kind, SquareOfCell(to)); }

Move* AddBoardMoves(Move* out, Side side, int from, int to, Piece moved, Piece captured) {
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
  const Side us = SideOf(p);
  const Side them = Opponent(us);
  auto target = [&](int to) {
    const Piece t = b.At(to);
    if (t == NoPiece ? mode == GenMode::All : IsSide(t, them))
      out = AddBoardMoves(out, us, from, to, p, t);
  };
  const Reach& reach = ReachOf[p];
  for (int k = 0; k < reach.count; ++k) {
    const int offset = reach.offsets[k];
    int to = from + offset;
    if (reach.slides[k])
      for (; b.At(to) == NoPiece; to += offset) target(to);
    target(to);
  }
  return out;
}

Move* AddAllBoardMoves(const Board& b, Move* out, GenMode mode) {
  const Board::CellSet& own = b.PieceCells(b.SideToMove());
  for (std::size_t word = 0; word < own.size(); ++word)
    for (std::uint64_t bits = own[word]; bits != 0; bits &= bits - 1)
      out = AddPieceMoves(b, out, int(word * 64) + std::countr_zero(bits), mode);
  return out;
}

// Drops of the side to move onto empty cells for which `allowed` holds (all
// when null), except a pawn onto `noPawnCell`; kind by kind, square by square.
Move* AddDrops(const Board& b, Move* out, const std::array<bool, CellCount>* allowed,
               int noPawnCell) {
  const Side us = b.SideToMove();
  bool anyInHand = false;
  for (int kind = FU; kind <= HI; ++kind) anyInHand |= b.Hand(us, kind) > 0;
  if (!anyInHand) return out;
  std::array<std::uint8_t, SquareCount> empty;
  int emptyCount = 0;
  for (int sq = 0; sq < SquareCount; ++sq) {
    const int to = CellOf(sq);
    if (b.At(to) == NoPiece && (!allowed || (*allowed)[to])) empty[emptyCount++] = std::uint8_t(to);
  }
  for (int kind = FU; kind <= HI; ++kind) {
    if (b.Hand(us, kind) == 0) continue;
    const Move drop = MakeDrop(us, kind, 0);
    // Pawns, lances and knights are never dropped where they could not move.
    const int nearestRank = kind == KE ? 3 : kind <= KY ? 2 : 1;
    for (int k = 0; k < emptyCount; ++k) {
      const int to = empty[k];
      if (RelativeRank(us, to) < nearestRank) continue;
      if (kind == FU && (b.HasPawnOnColumn(us, to) || to == noPawnCell)) continue;
      *out++ = drop | Move(to);
    }
  }
  return out;
}

// The cell in front of the enemy king, where a pawn drop would give check.
int PawnCheckCell(const Board& b, Side side) {
  const int king = b.KingCell(Opponent(side));
  return king == 0 ? 0 : king - DirectionOffset[side == Sente ? North : South];
}

// Cells of the pieces of the side to move that shield their king from a slider.
int FindPinned(const Board& b, std::array<int, 8>& pinned) {
  const Side us = b.SideToMove();
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
    if (IsSide(p, Opponent(us)) && (SlideMask[p] & Bit(OppositeDirection[d]))) pinned[count++] = c;
  }
  return count;
}

// The pieces giving check to the side to move: how many, and the cells on
// which a move other than the king's answers a single check (the checker's
// cell and the cells between it and the king).
struct Checks {
  int count = 0;
  std::array<bool, CellCount> answers;  // filled once a check is found
  void Add() {
    if (count++ == 0) answers.fill(false);
  }
};

Checks FindChecks(const Board& b) {
  Checks checks;
  const Side us = b.SideToMove();
  const int king = b.KingCell(us);
  if (king == 0) return checks;
  const Side them = Opponent(us);
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    const int back = Bit(OppositeDirection[d]);
    int c = king + offset;
    while (b.At(c) == NoPiece) c += offset;
    const Piece p = b.At(c);
    if (!IsSide(p, them)) continue;
    const bool adjacent = c == king + offset;
    if (!((SlideMask[p] & back) || (adjacent && (StepMask[p] & back)))) continue;
    checks.Add();
    for (int between = king + offset; between != c; between += offset)
      checks.answers[between] = true;
    checks.answers[c] = true;
  }
  const Piece knight = MakePiece(them, KE);
  for (const int c : {king - KnightOffsetLeft(them), king - KnightOffsetRight(them)}) {
    if (b.At(c) != knight) continue;
    checks.Add();
    checks.answers[c] = true;
  }
  return checks;
}

bool LeavesKingSafe(Board& b, Move m) {
  b.Make(m);
  const bool safe = !b.MoverKingAttacked();
  b.Unmake(m);
  return safe;
}

}  // namespace

int GeneratePseudoLegal(const Board& b, Move* out, GenMode mode) {
  Move* end = AddAllBoardMoves(b, out, mode);
  if (mode == GenMode::All) end = AddDrops(b, end, nullptr, 0);
  return int(end - out);
}

bool IsPawnDropMate(Board& b, Move m) {
  if (!IsDrop(m) || DropKind(m) != FU || ToCell(m) != PawnCheckCell(b, b.SideToMove()))
    return false;
  b.Make(m);
  std::array<Move, MaxMoves> replies;
  const bool mate = GenerateLegal(b, replies.data()) == 0;
  b.Unmake(m);
  return mate;
}

int GenerateLegal(Board& b, Move* out, GenMode mode) {
  const Side us = b.SideToMove();
  const int king = b.KingCell(us);
  const Checks checks = FindChecks(b);
  std::array<int, 8> pinned{};
  const int pinnedCount = FindPinned(b, pinned);
  // Board moves: the king's must reach a safe cell; in check, the others must
  // take the checker or step between; a pinned piece's are tried.
  const int count = int(AddAllBoardMoves(b, out, mode) - out);
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const Move m = out[i];
    const int from = FromCell(m);
    if (from == king) {
      if (!b.KingMoveSafe(ToCell(m))) continue;
    } else {
      if (checks.count > 0 && (checks.count > 1 || !checks.answers[ToCell(m)])) continue;
      bool isPinned = false;
      for (int k = 0; k < pinnedCount; ++k) isPinned |= from == pinned[k];
      if (isPinned && !LeavesKingSafe(b, m)) continue;
    }
    out[kept++] = m;
  }
  // Drops: none against a double check, only between against a single one.
  if (mode != GenMode::All || checks.count > 1) return kept;
  const int pawnCell = PawnCheckCell(b, us);
  const bool pawnMates = pawnCell != 0 && b.Hand(us, FU) > 0 && b.At(pawnCell) == NoPiece &&
                         !b.HasPawnOnColumn(us, pawnCell) && RelativeRank(us, pawnCell) > 1 &&
                         (checks.count == 0 || checks.answers[pawnCell]) &&
                         IsPawnDropMate(b, MakeDrop(us, FU, pawnCell));
  const std::array<bool, CellCount>* allowed = checks.count ? &checks.answers : nullptr;
  return int(AddDrops(b, out + kept, allowed, pawnMates ? pawnCell : 0) - out);
}

}  // namespace fv
