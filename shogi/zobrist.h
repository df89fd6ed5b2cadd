// Random keys that make up a position's hash key.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/types.h"

namespace fv {

struct ZobristKeys {
  std::array<std::array<std::uint64_t, CellCount>, 32> piece;    // [piece][cell]
  std::array<std::array<std::array<std::uint64_t, 19>, 8>, 2> hand;  // [side][kind][count]
  std::uint64_t gote;                                              // Gote to move
};

const ZobristKeys& Zobrist();

}  // namespace fv
