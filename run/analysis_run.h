// One analysis run in the working directory, stage by stage.
#pragma once

#include <string>

#include "position/position.h"
#include "position/pv_moves.h"
#include "run/report.h"
#include "run/settings.h"

namespace fv {

// Owns everything that lives for the whole run: the report, the position that
// the replay turns into the leaf, and the PV.
class AnalysisRun {
 public:
  explicit AnalysisRun(const RunSettings& settings);

  // Runs every stage in order and returns the exit status; throws InputError
  // on a fatal input.
  int Execute();

 private:
  void RunEngineOnEmptyLog();
  void ReadInputPosition();
  void ReadPv();
  void StartPvLine();
  void ReplayPvToLeaf();
  void ShowLeaf();

  RunSettings settings_;
  Report report_;
  Position position_;
  std::string pvText_;
  int pvSide_ = Sente;
  PvMoveList pvMoves_;
};

}  // namespace fv
