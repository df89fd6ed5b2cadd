#include "position/replay.h"

#include <cstdlib>

#include "position/move.h"

namespace fv {

void ApplyMove(int side, Position& pos, std::int32_t move) {
  const int to = MoveTo(move);
  const int from = MoveFrom(move);
  if (from >= DropOrigin) {
    const int kind = from - DropOrigin;
    --pos.hand[side][kind];
    pos.board[to] = PieceCode(side == Sente ? kind + 1 : -(kind + 1));
    return;
  }
  const PieceCode captured = pos.board[to];
  pos.board[to] = MovePromotes(move) ? Promote(pos.board[from]) : pos.board[from];
  pos.board[from] = 0;
  if (captured != 0) {
    const int handKind = HandKindTable[std::abs(captured)];
    if (handKind != -1) ++pos.hand[side][handKind];
  }
  if (std::abs(pos.board[to]) == OU) pos.kingSquare[side] = std::uint8_t(to);
}

void ReplayPv(int side, const PvMoveList& list, Position& pos) {
  for (const std::int32_t move : list.moves) {
    ApplyMove(side, pos, move);
    side = 1 - side;
  }
}

}  // namespace fv
