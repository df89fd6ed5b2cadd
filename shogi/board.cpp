#include "shogi/board.h"

#include "shogi/zobrist.h"

namespace fv {

void Board::Set(const Position& pos, Side sideToMove) {
  cells_.fill(Wall);
  hand_ = {};
  pawnColumns_ = {};
  pieceCells_ = {};
  king_ = {};
  key_ = 0;
  ply_ = 0;
  side_ = sideToMove;
  for (const Side side : {Sente, Gote})
    for (int kind = FU; kind <= HI; ++kind) key_ ^= Zobrist.hand[side][kind][0];
  for (int sq = 0; sq < SquareCount; ++sq) {
    cells_[CellOf(sq)] = NoPiece;
    if (pos.board[sq] != 0) Put(CellOf(sq), FromCode(pos.board[sq]));
  }
  for (const Side side : {Sente, Gote})
    for (const PieceKind kind : HandKinds) AddHand(side, kind, pos.hand[side][kind]);
  if (side_ == Gote) key_ ^= Zobrist.gote;
  history_[0] = key_;
}

Position Board::ToPosition() const {
  Position pos;
  for (int sq = 0; sq < SquareCount; ++sq) pos.board[sq] = ToCode(cells_[CellOf(sq)]);
  for (const Side side : {Sente, Gote}) {
    for (const PieceKind kind : HandKinds) pos.hand[side][kind] = std::int8_t(hand_[side][kind]);
    pos.kingSquare[side] = std::uint8_t(king_[side] ? SquareOfCell(king_[side]) : 0);
  }
  return pos;
}

void Board::Put(int cell, Piece p) {
  cells_[cell] = p;
  pieceCells_[SideOf(p)][cell / 64] |= std::uint64_t{1} << (cell % 64);
  key_ ^= Zobrist.piece[p][cell];
  if (KindOf(p) == OU) king_[SideOf(p)] = cell;
  if (KindOf(p) == FU) pawnColumns_[SideOf(p)] ^= std::uint16_t(1 << ColumnOfCell(cell));
}

void Board::Remove(int cell) {
  const Piece p = cells_[cell];
  cells_[cell] = NoPiece;
  pieceCells_[SideOf(p)][cell / 64] &= ~(std::uint64_t{1} << (cell % 64));
  key_ ^= Zobrist.piece[p][cell];
  if (KindOf(p) == FU) pawnColumns_[SideOf(p)] ^= std::uint16_t(1 << ColumnOfCell(cell));
}

void Board::AddHand(Side side, int kind, int delta) {
  int& count = hand_[side][kind];
  key_ ^= Zobrist.hand[side][kind][count];
  count += delta;
  key_ ^= Zobrist.hand[side][kind][count];
}

void Board::Make(Move m) {
  const int to = ToCell(m);
  if (IsDrop(m)) {
    AddHand(side_, DropKind(m), -1);
    Put(to, MakePiece(side_, DropKind(m)));
  } else {
    const Piece moved = MovedPiece(m);
    const Piece captured = CapturedPiece(m);
    if (captured != NoPiece) {
      Remove(to);
      AddHand(side_, UnpromotedKind(KindOf(captured)), +1);
    }
    Remove(FromCell(m));
    Put(to, IsPromotion(m) ? MakePiece(side_, PromotedKind(KindOf(moved))) : moved);
  }
  side_ = Opponent(side_);
  key_ ^= Zobrist.gote;
  ++ply_;
  history_[ply_ & 1023] = key_;
}

void Board::Unmake(Move m) {
  side_ = Opponent(side_);
  key_ ^= Zobrist.gote;
  --ply_;
  const int to = ToCell(m);
  Remove(to);
  if (IsDrop(m)) {
    AddHand(side_, DropKind(m), +1);
    return;
  }
  const Piece captured = CapturedPiece(m);
  Put(FromCell(m), MovedPiece(m));
  if (captured != NoPiece) {
    Put(to, captured);
    AddHand(side_, UnpromotedKind(KindOf(captured)), -1);
  }
}

void Board::MakeNull() {
  side_ = Opponent(side_);
  key_ ^= Zobrist.gote;
  ++ply_;
  history_[ply_ & 1023] = key_;
}

void Board::UnmakeNull() {
  side_ = Opponent(side_);
  key_ ^= Zobrist.gote;
  --ply_;
}

bool Board::IsAttacked(int cell, Side by) const {
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    const int back = Bit(OppositeDirection[d]);
    int c = cell + offset;
    Piece p = cells_[c];
    if (p != NoPiece) {
      if (IsSide(p, by) && ((StepMask[p] | SlideMask[p]) & back)) return true;
      continue;
    }
    do c += offset;
    while (cells_[c] == NoPiece);
    p = cells_[c];
    if (IsSide(p, by) && (SlideMask[p] & back)) return true;
  }
  // A knight of `by` reaches `cell` from the cells its own jumps lead back to.
  const Piece knight = MakePiece(by, KE);
  return cells_[cell - KnightOffsetLeft(by)] == knight ||
         cells_[cell - KnightOffsetRight(by)] == knight;
}

bool Board::KingMoveSafe(int to) {
  const int from = king_[side_];
  const Piece king = cells_[from];
  cells_[from] = NoPiece;  // a slider's line through the king's old cell stays open
  const bool safe = !IsAttacked(to, Opponent(side_));
  cells_[from] = king;
  return safe;
}

int Board::RepetitionDistance() const {
  for (int back = 4; back <= ply_ && back < 1024; back += 2)
    if (history_[(ply_ - back) & 1023] == key_) return back;
  return 0;
}

}  // namespace fv
