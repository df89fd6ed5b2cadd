// A USI engine as a player: one program for the whole match, its weights
// loaded once, told the game's moves from the start position before each move
// and given a fixed time per move (byoyomi).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/match/child_process.h"
#include "tools/match/player.h"

namespace fv::match {

// What one output line of a USI engine says.
struct UsiLine {
  enum class Kind { Other, Info, BestMove };
  Kind kind = Kind::Other;
  std::string move;   // BestMove: the move, or "resign" / "win"
  std::string score;  // Info: "cp 35" or "mate -3" when the line has a score
  int depth = 0;      // Info: the depth, 0 when the line has none
};
UsiLine ParseUsiLine(std::string_view line);

class UsiPlayer : public Player {
 public:
  // `command` is the program and its arguments; `options` are
  // "setoption name N value V" pairs sent before isready.
  UsiPlayer(std::string name, std::vector<std::string> command,
            std::vector<std::pair<std::string, std::string>> options, int byoyomiMs,
            std::string workDir, std::string errorLog);
  ~UsiPlayer() override;

  const std::string& Name() const override { return name_; }
  void NewGame() override;
  Reply Think(const std::vector<std::string>& moves) override;

 private:
  void Start();
  void Quit();
  // Reads lines until one starts with `word`; false on a timeout or an end.
  bool AwaitLine(std::string_view word, std::chrono::seconds patience, std::string& problem);

  std::string name_;
  std::vector<std::string> command_;
  std::vector<std::pair<std::string, std::string>> options_;
  int byoyomiMs_;
  std::string workDir_;
  std::string errorLog_;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace fv::match
