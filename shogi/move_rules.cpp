#include "shogi/move_rules.h"

#include "shogi/movegen.h"
#include "shogi/piece_rules.h"

namespace fv {
namespace {

// Whether the piece on `from` reaches `to` with one of its moves, ignoring
// what stands in between; `blocked` tells whether a slide's path holds a piece.
bool Reaches(const Board& b, int from, int to, bool& blocked) {
  const Piece p = b.At(from);
  const Side side = SideOf(p);
  blocked = false;
  if (KindOf(p) == KE)
    return to == from + KnightOffsetLeft(side) || to == from + KnightOffsetRight(side);
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    if ((StepMask[p] & Bit(d)) && to == from + offset) return true;
    if (!(SlideMask[p] & Bit(d))) continue;
    for (int c = from + offset; b.At(c) != Wall; c += offset) {
      if (c == to) return true;
      blocked = blocked || b.At(c) != NoPiece;
    }
    blocked = false;
  }
  return false;
}

bool HasUnpromotedPawnOnFile(const Board& b, Side side, int cell) {
  const Piece pawn = MakePiece(side, FU);
  for (int rank = 1; rank <= 9; ++rank)
    if (b.At(CellOf(SquareOf(FileOf(SquareOfCell(cell)), rank))) == pawn) return true;
  return false;
}

BrokenRule DropRule(Board& b, Move m) {
  const Side side = b.SideToMove();
  const int to = SquareOfCell(ToCell(m));
  if (CanNeverMove(side, DropKind(m), to)) return BrokenRule::DropWhereItCannotMove;
  if (DropKind(m) == FU && HasUnpromotedPawnOnFile(b, side, ToCell(m)))
    return BrokenRule::SecondPawnOnFile;
  return BrokenRule::None;
}

BrokenRule BoardMoveRule(const Board& b, Move m) {
  const Side side = b.SideToMove();
  const int kind = KindOf(MovedPiece(m));
  const int from = FromCell(m);
  const int to = ToCell(m);
  bool blocked = false;
  if (!Reaches(b, from, to, blocked)) return BrokenRule::CannotMoveThatWay;
  if (blocked) return BrokenRule::JumpsOverAPiece;
  if (IsPromotion(m)) {
    if (!CanPromote(kind)) return BrokenRule::CannotPromote;
    if (!SquareInPromotionZone(side, SquareOfCell(from)) &&
        !SquareInPromotionZone(side, SquareOfCell(to)))
      return BrokenRule::PromotesOutsideZone;
  } else if (CanNeverMove(side, kind, SquareOfCell(to))) {
    return BrokenRule::MissingPromotion;
  }
  return BrokenRule::None;
}

}  // namespace

BrokenRule FindBrokenRule(Board& board, Move m) {
  const BrokenRule rule = IsDrop(m) ? DropRule(board, m) : BoardMoveRule(board, m);
  if (rule != BrokenRule::None) return rule;
  board.Make(m);
  const bool exposed = board.MoverKingAttacked();
  board.Unmake(m);
  if (exposed) return BrokenRule::LeavesKingInCheck;
  return IsPawnDropMate(board, m) ? BrokenRule::PawnDropMate : BrokenRule::None;
}

}  // namespace fv
