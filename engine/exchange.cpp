#include "engine/exchange.h"

#include <algorithm>
#include <array>

#include "position/material.h"

namespace fv::engine {
namespace {

int Value(Piece p) { return PieceValue(PieceCode(KindOf(p))); }

// The least valuable piece of `side` that attacks `to` on `cells`, or 0.
int LeastAttacker(const std::array<Piece, CellCount>& cells, int to, Side side) {
  int best = 0;
  auto consider = [&](int cell) {
    if (best == 0 || Value(cells[cell]) < Value(cells[best])) best = cell;
  };
  for (int d = 0; d < 8; ++d) {
    const int offset = DirectionOffset[d];
    const int back = Bit(OppositeDirection[d]);
    int c = to + offset;
    if (cells[c] == NoPiece) {
      do c += offset;
      while (cells[c] == NoPiece);
      if (IsSide(cells[c], side) && (SlideMask[cells[c]] & back)) consider(c);
    } else if (IsSide(cells[c], side) && ((StepMask[cells[c]] | SlideMask[cells[c]]) & back)) {
      consider(c);
    }
  }
  const Piece knight = MakePiece(side, KE);
  for (const int c : {to - KnightOffsetLeft(side), to - KnightOffsetRight(side)})
    if (cells[c] == knight) consider(c);
  return best;
}

}  // namespace

int CaptureValue(Piece captured) {
  return Value(captured) + PieceValue(PieceCode(UnpromotedKind(KindOf(captured))));
}

int StaticExchange(const Board& board, Move m) {
  std::array<Piece, CellCount> cells = board.Cells();
  const int to = ToCell(m);
  Side side = board.SideToMove();
  const Piece moved =
      IsPromotion(m) ? MakePiece(side, PromotedKind(KindOf(MovedPiece(m)))) : MovedPiece(m);
  // gain[d]: what the d-th capture wins, if the exchange stopped after it.
  std::array<int, 40> gain{};
  gain[0] = CaptureValue(CapturedPiece(m)) + Value(moved) - Value(MovedPiece(m));
  cells[FromCell(m)] = NoPiece;
  cells[to] = moved;
  int depth = 0;
  for (side = Opponent(side); depth + 1 < int(gain.size()); side = Opponent(side)) {
    const int from = LeastAttacker(cells, to, side);
    if (from == 0) break;
    ++depth;
    gain[depth] = CaptureValue(cells[to]) - gain[depth - 1];
    cells[to] = cells[from];
    cells[from] = NoPiece;
  }
  // Each side takes the better of capturing and stopping, from the last capture back.
  for (; depth > 0; --depth) gain[depth - 1] = -std::max(-gain[depth - 1], gain[depth]);
  return gain[0];
}

}  // namespace fv::engine
