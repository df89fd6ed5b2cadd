#include "position/position_check.h"

#include <cstdlib>

#include "shogi/piece_rules.h"

namespace fv {

std::string PositionProblem(const Position& pos) {
  const PieceTally tally = TallyPieces(pos);
  for (const Side side : {Sente, Gote}) {
    if (tally.kings[side] != 1) {
      return std::to_string(tally.kings[side]) + " kings of " + SideName(side) +
             " on the board, there must be exactly one";
    }
  }
  if (tally.BesidesKings() > SetPiecesBesidesKings) {
    return std::to_string(tally.BesidesKings()) + " pieces besides the kings, a set has " +
           std::to_string(SetPiecesBesidesKings);
  }
  for (const PieceKind kind : HandKinds) {
    if (tally.kinds[kind] > SetPieceCounts[kind]) {
      return std::to_string(tally.kinds[kind]) + " pieces of kind " +
             std::string(PieceNames[kind - 1]) + ", a set has " +
             std::to_string(SetPieceCounts[kind]);
    }
  }
  for (int square = 0; square < SquareCount; ++square) {
    const PieceCode code = pos.board[square];
    if (code != 0 && CanNeverMove(code > 0 ? Sente : Gote, std::abs(code), square)) {
      return std::string(code > 0 ? "+" : "-") + std::string(PieceNames[std::abs(code) - 1]) +
             " on " + SquareName(square) + " can never move";
    }
  }
  return "";
}

}  // namespace fv
