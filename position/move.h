// The encoded move: destination + 128 * origin + 16384 * promoted flag.
#pragma once

#include <cstdint>

namespace fv {

// Origins from 81 on are drops: 81 + hand kind (FU..HI), 88 for OU.
constexpr int DropOrigin = 81;

constexpr std::int32_t EncodeMove(int to, int from, bool promoted) {
  return to + 128 * from + 16384 * (promoted ? 1 : 0);
}
constexpr int MoveTo(std::int32_t move) { return move & 127; }
constexpr int MoveFrom(std::int32_t move) { return (move >> 7) & 127; }
constexpr bool MovePromotes(std::int32_t move) { return (move >> 14) & 1; }

}  // namespace fv
