#include "position/position_check.h"

#include <cstdlib>

#include "shogi/piece_rules.h"

namespace fv {

std::string PositionProblem(const Position& pos) {
  int kings[2] = {0, 0};
  int kindCounts[HandKindCount] = {};
  for (const PieceCode code : pos.board) {
    if (code == 0) continue;
    if (std::abs(code) == OU) ++kings[code > 0 ? Sente : Gote];
    else ++kindCounts[HandKindTable[std::abs(code)]];
  }
  for (const Side side : {Sente, Gote}) {
    if (kings[side] != 1) {
      return std::to_string(kings[side]) + " kings of " + SideName(side) +
             " on the board, there must be exactly one";
    }
    for (int kind = 0; kind < HandKindCount; ++kind) kindCounts[kind] += pos.hand[side][kind];
  }
  int pieces = 0;
  for (int kind = 0; kind < HandKindCount; ++kind) pieces += kindCounts[kind];
  if (pieces > SetPiecesBesidesKings) {
    return std::to_string(pieces) + " pieces besides the kings, a set has " +
           std::to_string(SetPiecesBesidesKings);
  }
  for (int kind = 0; kind < HandKindCount; ++kind) {
    if (kindCounts[kind] > SetPieceCounts[kind]) {
      return std::to_string(kindCounts[kind]) + " pieces of kind " + std::string(PieceNames[kind]) +
             ", a set has " + std::to_string(SetPieceCounts[kind]);
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
