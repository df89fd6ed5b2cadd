// Rules about pieces and squares that hold for any position: what one set of
// pieces holds and how many of each kind a position has, where a piece can
// never move again, the promotion zone, and the names of the sides and squares.
#pragma once

#include <array>
#include <string>

#include "shogi/position.h"

namespace fv {

// Pieces of each unpromoted kind in one set, by kind FU..HI.
constexpr std::array<int, HI + 1> SetPieceCounts = {0, 18, 4, 4, 4, 4, 2, 2};
constexpr int SetPiecesBesidesKings = 38;

// The pieces of a position counted the way a set is: each kind over the board
// (promoted pieces as their unpromoted kind) and both hands together, and the
// kings of each side on the board.
struct PieceTally {
  std::array<int, HI + 1> kinds{};  // by kind FU..HI
  std::array<int, 2> kings{};       // by side
  std::array<int, 2> kingSquare{};  // by side: the square of its last king, if any
  int BesidesKings() const;
};

PieceTally TallyPieces(const Position& pos);

// The rank of `square` counted from the far edge of `side`: 1 is the farthest.
constexpr int RelativeRankOf(Side side, int square) {
  return side == Sente ? RankOf(square) : 10 - RankOf(square);
}

// Whether a piece of `kind` (1..14) owned by `side` could never move again on
// `square`: a FU or KY on the farthest rank, a KE on the two farthest ranks.
constexpr bool CanNeverMove(Side side, int kind, int square) {
  const int rank = RelativeRankOf(side, square);
  return ((kind == FU || kind == KY) && rank == 1) || (kind == KE && rank <= 2);
}

// Whether `square` lies in the promotion zone of `side`: its three farthest ranks.
constexpr bool SquareInPromotionZone(Side side, int square) {
  return RelativeRankOf(side, square) <= 3;
}

// "Sente" or "Gote".
constexpr const char* SideName(Side side) { return side == Sente ? "Sente" : "Gote"; }

// A square in CSA digits, file then rank: "77" for file 7 rank 7.
inline std::string SquareName(int square) {
  return std::to_string(FileOf(square)) + std::to_string(RankOf(square));
}

}  // namespace fv
