// GNU Shogi as a player: one program per game, driven in its raw text mode
// ("gnushogi -R"), which reads moves such as "7g7f" and "P*5e" and answers
// after lines of search progress with "1. ... 7c7d" and "My move is: 7c7d",
// or with "1. ... G*2e" and "Black mates!" when the move mates.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "tools/match/child_process.h"
#include "tools/match/player.h"

namespace fv::match {

// What one output line of gnushogi says.
struct GnushogiLine {
  enum class Kind { Other, Played, Move, Mates, Progress, Resign, DrawClaim, Refusal };
  Kind kind = Kind::Other;
  std::string move;  // Played ("1. ... 7c7d") and Move ("My move is: 7c7d"): the move
  int depth = 0;     // Progress: a finished or improved iteration
  int score = 0;
};
GnushogiLine ParseGnushogiLine(std::string_view line);

class GnushogiPlayer : public Player {
 public:
  // `program` runs with `seconds` per move in `workDir`; its errors go to `errorLog`.
  GnushogiPlayer(std::string program, int seconds, std::string workDir, std::string errorLog);
  ~GnushogiPlayer() override;

  const std::string& Name() const override { return name_; }
  void NewGame() override;
  Reply Think(const std::vector<std::string>& moves) override;

 private:
  void Quit();

  std::string name_ = "gnushogi";
  std::string program_;
  int seconds_;
  std::string workDir_;
  std::string errorLog_;
  std::unique_ptr<ChildProcess> process_;
  std::size_t known_ = 0;  // moves of the game the program has been given or made
  std::string drawClaim_;  // a draw the program declared after its own move
  bool started_ = false;   // whether the game's moves have been set up
};

}  // namespace fv::match
