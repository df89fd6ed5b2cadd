#include "position/position_check.h"

#include <cstdlib>

namespace fv {

namespace {

// Ranks, counted from the owner's far end, on which a piece can never move.
constexpr int DeadRankDepth(int kind) {
  return kind == FU || kind == KY ? 1 : kind == KE ? 2 : 0;
}

}  // namespace

bool CanNeverMove(PieceCode code, int square) {
  const int kind = std::abs(code);
  const int depth = code > 0 ? RankOf(square) : 10 - RankOf(square);
  return depth <= DeadRankDepth(kind);
}

std::string SquareName(int square) {
  return std::to_string(FileOf(square)) + std::to_string(RankOf(square));
}

const char* SideName(int side) { return side == Sente ? "Sente" : "Gote"; }

std::string PositionProblem(const Position& pos) {
  int kings[2] = {0, 0};
  int kindCounts[HandKindCount] = {};
  for (const PieceCode code : pos.board) {
    if (code == 0) continue;
    if (std::abs(code) == OU) ++kings[code > 0 ? Sente : Gote];
    else ++kindCounts[HandKindTable[std::abs(code)]];
  }
  for (int side : {Sente, Gote}) {
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
    if (code != 0 && CanNeverMove(code, square)) {
      return std::string(code > 0 ? "+" : "-") + std::string(PieceNames[std::abs(code) - 1]) +
             " on " + SquareName(square) + " can never move";
    }
  }
  return "";
}

}  // namespace fv
