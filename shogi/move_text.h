// Moves in CSA notation: origin and destination as file and rank digits
// ("00" for a drop) and the name of the piece as it stands after the move.
#pragma once

#include <string>

#include "shogi/types.h"

namespace fv {

// "7776FU", "0055KA", "8822UM".
std::string MoveText(Move m);
// The same with the mover's sign: "+7776FU".
std::string SignedMoveText(Move m);

}  // namespace fv
