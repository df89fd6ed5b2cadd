// Checks that a position read from outside can be analysed at all.
#pragma once

#include <string>

#include "shogi/position.h"

namespace fv {

// Why `pos` cannot be analysed, or "" if it can: each side must have exactly
// one king on the board; there may be at most 38 other pieces and no more of a
// kind than a set holds (board, promoted and hand pieces together); no FU or
// KY may stand on its owner's farthest rank and no KE on its two farthest
// ranks, since such a piece can never move again.
std::string PositionProblem(const Position& pos);

}  // namespace fv
