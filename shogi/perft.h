// Perft: the number of leaf positions of the legal move tree to a fixed depth.
#pragma once

#include <cstdint>

#include "shogi/board.h"

namespace fv {

std::uint64_t Perft(Board& board, int depth);

}  // namespace fv
