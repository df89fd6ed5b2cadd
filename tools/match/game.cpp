#include "tools/match/game.h"

#include <algorithm>

#include "shogi/movegen.h"
#include "shogi/piece_rules.h"
#include "shogi/start_position.h"

namespace fv::match {

Game::Game() : Game(StartPosition(), Sente) {}

Game::Game(const Position& start, Side sideToMove) {
  board_.Set(start, sideToMove);
  keys_.push_back(board_.Key());
  checks_.push_back(board_.InCheck());
}

void Game::Play(Move move) {
  board_.Make(move);
  moves_.push_back(move);
  keys_.push_back(board_.Key());
  checks_.push_back(board_.InCheck());
}

std::optional<Result> Game::Judge(int maxPlies) {
  const Side toMove = board_.SideToMove();
  Move legal[MaxMoves];
  if (GenerateLegal(board_, legal) == 0) {
    const std::string how = board_.InCheck() ? "checkmated" : "without a legal move";
    return Result{Ending::Mate, Opponent(toMove), std::string(SideName(toMove)) + " is " + how};
  }
  const int now = int(keys_.size()) - 1;
  if (std::count(keys_.begin(), keys_.end(), keys_[now]) >= 4) {
    // Over the cycle since the first occurrence, a side that checked with
    // every one of its moves gave perpetual check.
    const int first = int(std::find(keys_.begin(), keys_.end(), keys_[now]) - keys_.begin());
    bool allChecks[2] = {true, true};
    for (int i = first + 1; i <= now; ++i) {
      // who moved into position i
      const Side mover = (now - i) % 2 == 0 ? Opponent(toMove) : toMove;
      allChecks[mover] = allChecks[mover] && checks_[i];
    }
    for (const Side side : {Sente, Gote})
      if (allChecks[side] && !allChecks[Opponent(side)])
        return Result{Ending::PerpetualCheck, Opponent(side),
                      std::string("perpetual check by ") + SideName(side)};
    return Result{Ending::Repetition, NoWinner, "fourfold repetition"};
  }
  if (int(moves_.size()) >= maxPlies)
    return Result{Ending::MaxPlies, NoWinner, std::to_string(maxPlies) + " plies"};
  return std::nullopt;
}

}  // namespace fv::match
