// A program that plays one side of the match's games.
#pragma once

#include <string>
#include <vector>

namespace fv::match {

struct Reply {
  enum class Kind {
    Move,  // `text` is the move in USI notation
    Resign,
    DrawClaim,  // `text` says what the player declared
    Refusal,    // the player refused the opponent's move; `text` quotes it
    Failure,    // the player hung, ended or said nothing usable; `text` says how
  };
  Kind kind = Kind::Failure;
  std::string text{};
  std::string score{};  // the player's last reported score ("cp 35", "mate 3", "35"), or empty
  int depth = 0;        // the depth of its last reported iteration, 0 for none
};

class Player {
 public:
  virtual ~Player() = default;
  virtual const std::string& Name() const = 0;
  // Prepares a new game from the start position. Throws std::runtime_error
  // when the program cannot be started.
  virtual void NewGame() = 0;
  // The player's choice after `moves` (USI texts from the start position),
  // with the player's side to move.
  virtual Reply Think(const std::vector<std::string>& moves) = 0;
};

}  // namespace fv::match
