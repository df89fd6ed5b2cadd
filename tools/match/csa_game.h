// A played game as a CSA record: the players, the start position, every move
// with a comment line on how its player chose it, and the ending.
#pragma once

#include <string>
#include <vector>

#include "shogi/types.h"
#include "tools/match/game.h"

namespace fv::match {

struct RecordedMove {
  Move move;
  std::string comment;  // empty for none
};

struct CsaGame {
  std::string sentePlayer;
  std::string gotePlayer;
  std::string event;
  std::vector<RecordedMove> moves;  // from the start position
  Result result;
};

std::string FormatCsaGame(const CsaGame& game);

}  // namespace fv::match
