// Which rule of shogi a move breaks, for moves read from outside.
#pragma once

#include "shogi/board.h"
#include "shogi/types.h"

namespace fv {

enum class BrokenRule {
  None,
  CannotMoveThatWay,      // the piece's steps, slides or jump never reach the destination
  JumpsOverAPiece,        // a slide whose path holds a piece
  CannotPromote,          // a gold, a king or a promoted piece promotes
  PromotesOutsideZone,    // neither origin nor destination lies in the promotion zone
  MissingPromotion,       // an unpromoted FU, KY or KE stops where it could never move again
  DropWhereItCannotMove,  // a FU, KY or KE dropped where it could never move
  SecondPawnOnFile,       // a FU dropped on a file holding an unpromoted FU of the mover
  PawnDropMate,           // a FU dropped to give mate
  LeavesKingInCheck,      // the mover's own king is attacked after the move
};

// The rule that `m`, a move of the side to move, breaks on `board`, or None
// when it is legal. `m` must already name a piece of the mover on its origin
// (MovedPiece, CapturedPiece as they stand on the board) and a destination
// without a piece of the mover, or a drop of a held kind onto an empty
// square. The board is used for a trial move and left as it was.
BrokenRule FindBrokenRule(Board& board, Move m);

}  // namespace fv
