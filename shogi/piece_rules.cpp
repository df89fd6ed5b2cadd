#include "shogi/piece_rules.h"

#include <numeric>

#include "shogi/types.h"

namespace fv {

int PieceTally::BesidesKings() const { return std::accumulate(kinds.begin(), kinds.end(), 0); }

PieceTally TallyPieces(const Position& pos) {
  PieceTally tally;
  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    const int magnitude = code < 0 ? -code : code;
    if (magnitude == OU) {
      const Side side = code > 0 ? Sente : Gote;
      ++tally.kings[side];
      tally.kingSquare[side] = square;
    } else if (magnitude != 0) {
      ++tally.kinds[UnpromotedKind(magnitude)];
    }
  }
  for (const Side side : {Sente, Gote})
    for (const PieceKind kind : HandKinds) tally.kinds[kind] += pos.hand[side][kind];
  return tally;
}

}  // namespace fv
