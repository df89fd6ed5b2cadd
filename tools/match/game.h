// One game from a start position: the moves played, each position's key and
// whether it is check, and the judgement of how the game stands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shogi/board.h"
#include "shogi/types.h"

namespace fv::match {

enum class Ending {
  Mate,            // the side to move has no legal move
  Resignation,     // a player resigned
  Repetition,      // the same position for the fourth time: a draw
  PerpetualCheck,  // the fourth time, every move of one side a check: that side loses
  MaxPlies,        // the ply limit: a draw
  DrawClaim,       // a player declared the game drawn
  Forfeit,         // a player hung, crashed or failed to answer
  IllegalMove,     // a player sent a move our rules refuse
};

struct Result {
  Ending ending;
  int winner;  // Sente, Gote, or NoWinner for a draw
  std::string detail;
};
constexpr int NoWinner = -1;

class Game {
 public:
  Game();  // from the usual start position
  Game(const Position& start, Side sideToMove);

  Board& board() { return board_; }
  const std::vector<Move>& moves() const { return moves_; }
  Side SideToMove() const { return board_.SideToMove(); }

  // Plays `move`, a legal move of the side to move.
  void Play(Move move);

  // How the game ends in the position reached, if it does: mate, a fourth
  // repetition, or `maxPlies` plies played.
  std::optional<Result> Judge(int maxPlies);

 private:
  Board board_;
  std::vector<Move> moves_;
  std::vector<std::uint64_t> keys_;  // position keys, the start position first
  std::vector<bool> checks_;         // whether the side to move was in check there
};

}  // namespace fv::match
