// Applying PV moves to a position.
#pragma once

#include <cstdint>

#include "position/pv_moves.h"
#include "shogi/position.h"

namespace fv {

// Plays an encoded move for `side`: a board move takes the piece from the
// origin to the destination (promoted when the flag is set), a captured piece
// joins the mover's hand unpromoted (a king joins none) and a king move
// updates the mover's kingSquare; a drop takes one piece of its hand kind
// from the mover's hand. The move must have passed PvMoveProblem.
void ApplyMove(int side, Position& pos, std::int32_t move);

// Plays the moves of `list` on `pos` in order, the first for `side`, the sides
// alternating.
void ReplayPv(int side, const PvMoveList& list, Position& pos);

}  // namespace fv
