// Random keys that make up a position's hash key, a table fixed at compile time.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/types.h"

namespace fv {

struct ZobristKeys {
  std::array<std::array<std::uint64_t, CellCount>, 32> piece;        // [piece][cell]
  std::array<std::array<std::array<std::uint64_t, 19>, 8>, 2> hand;  // [side][kind][count]
  std::uint64_t gote;                                                // Gote to move
};

namespace zobrist_detail {

// SplitMix64: a fixed seed gives the same keys in every build.
constexpr std::uint64_t Next(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr ZobristKeys MakeKeys() {
  ZobristKeys keys{};
  std::uint64_t state = 20261206;
  for (auto& row : keys.piece)
    for (auto& k : row) k = Next(state);
  for (auto& side : keys.hand)
    for (auto& kind : side)
      for (auto& k : kind) k = Next(state);
  keys.gote = Next(state);
  return keys;
}

}  // namespace zobrist_detail

inline constexpr ZobristKeys Zobrist = zobrist_detail::MakeKeys();

}  // namespace fv
