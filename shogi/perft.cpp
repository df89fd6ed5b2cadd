#include "shogi/perft.h"

#include <array>

#include "shogi/movegen.h"

namespace fv {

std::uint64_t Perft(Board& board, int depth) {
  if (depth <= 0) return 1;
  std::array<Move, MaxMoves> moves;
  const int count = GenerateLegal(board, moves.data());
  if (depth == 1) return std::uint64_t(count);
  std::uint64_t leaves = 0;
  for (int i = 0; i < count; ++i) {
    board.Make(moves[i]);
    leaves += Perft(board, depth - 1);
    board.Unmake(moves[i]);
  }
  return leaves;
}

}  // namespace fv
