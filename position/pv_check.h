// Checks that the moves of a PV can be played before they are replayed.
#pragma once

#include <string>
#include <string_view>

#include "shogi/position.h"
#include "position/pv_moves.h"

namespace fv {

// Why `side` cannot play the six move characters `move` in `pos`, or "" if it
// can: the digits must be 1 to 9 (origin 00 for a drop); a board move needs a
// piece of the mover on the origin, none on the destination, no king to take
// there, and the name of the moved piece or of its promoted form; a drop needs
// a hand kind the mover holds (never OU) and an empty destination. No move may
// leave a FU, KY or KE where it can never move again (see CanNeverMove).
std::string PvMoveProblem(int side, const Position& pos, std::string_view move);

// Plays the PV on a copy of `start` from `side`, the sides alternating, and
// throws InputError(logPath, "move N (xxxxxx): ...") at the first move that
// cannot be played.
void ValidatePv(const std::string& logPath, int side, const Position& start, const std::string& text,
                const PvMoveList& list);

}  // namespace fv
