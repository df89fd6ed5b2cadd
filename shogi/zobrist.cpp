#include "shogi/zobrist.h"

namespace fv {
namespace {

// SplitMix64: a fixed seed gives the same keys in every run.
std::uint64_t Next(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

ZobristKeys MakeKeys() {
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

}  // namespace

const ZobristKeys& Zobrist() {
  static const ZobristKeys keys = MakeKeys();
  return keys;
}

}  // namespace fv
