// Static exchange evaluation: the material a capture wins once every piece
// that attacks its square has joined in, least valuable first.
#pragma once

#include "shogi/board.h"

namespace fv::engine {

// Material that a capture changes hands for: the piece leaves the board and
// joins the capturer's hand unpromoted.
int CaptureValue(Piece captured);

// The material balance for the mover of the exchange that the capture `m`
// starts on its square, each side free to stop capturing. Pins are not seen.
int StaticExchange(const Board& board, Move m);

}  // namespace fv::engine
