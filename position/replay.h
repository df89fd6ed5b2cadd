// Applying PV moves to a position.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "shogi/position.h"
#include "position/pv_moves.h"

namespace fv {

// Plays an encoded move for `side`: a board move takes the piece from the
// origin to the destination (promoted when the flag is set), a captured piece
// joins the mover's hand unpromoted (a king joins none) and a king move
// updates the mover's kingSquare; a drop takes one piece of its hand kind
// from the mover's hand. The move must have passed PvMoveProblem.
void ApplyMove(int side, Position& pos, std::int32_t move);

// Replays the PV on `pos` from `side`, the sides alternating: each move's line
// "+7776FU\n" ("-" for Gote) goes to `console`, then to `report`, then the move
// is applied. Move i of `list` is the six characters at 6 * i of `text`.
void ReplayPv(int side, const PvMoveList& list, const std::string& text, Position& pos,
              std::FILE* console, std::FILE* report);

}  // namespace fv
