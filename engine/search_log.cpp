#include "engine/search_log.h"

#include <algorithm>

#include "position/position_check.h"
#include "shogi/move_text.h"
#include "shogi/piece_rules.h"

namespace fv::engine {
namespace {

// Scores from Sente's view; a mate shows as "mate+N" (Sente mates in N plies) or "mate-N".
std::string ScoreText(int score) {
  if (score > MateBound) return "mate+" + std::to_string(MateScore - score);
  if (score < -MateBound) return "mate-" + std::to_string(MateScore + score);
  return std::to_string(score);
}

}  // namespace

std::string SearchHeading(Side sideToMove, const SearchLimits& limits) {
  std::string line = SideName(sideToMove) + std::string(" to move, searching to depth ") +
                     std::to_string(limits.maxDepth);
  line += limits.timeMs > 0 ? " within " + std::to_string(limits.timeMs) + " ms"
                            : " without a time limit";
  return line + "; scores are from Sente's view";
}

std::string TimeLimitLine(const SearchResult& result, const SearchLimits& limits) {
  if (result.unfinishedDepth == 0) return "";
  return "the time limit of " + std::to_string(limits.timeMs) +
         " ms ended the search during depth " + std::to_string(result.unfinishedDepth) + " of " +
         std::to_string(limits.maxDepth) + "; the result is that of depth " +
         std::to_string(result.unfinishedDepth - 1);
}

std::string IterationLine(const Iteration& it) {
  std::string line = "depth " + std::to_string(it.depth) + " score " + ScoreText(it.score) +
                     " nodes " + std::to_string(it.nodes) + " time " +
                     std::to_string(it.milliseconds) + " ms pv";
  for (const Move m : it.pv) {
    line += ' ';
    line += SignedMoveText(m);
  }
  return line;
}

std::string PvLine(const Iteration& it) {
  std::string line = "best score " + ScoreText(it.score) + " pv  8  ";
  const int count = std::min<int>(int(it.pv.size()), MaxLoggedPvMoves);
  for (int i = 0; i < count; ++i) {
    if (i > 0) line += ' ';
    line += std::to_string(i + 1);
    line += '.';
    line += SignedMoveText(it.pv[i]);
  }
  return line;
}

std::string FormatSearchLog(const SearchResult& result, Side sideToMove) {
  const SearchStats& s = result.stats;
  std::string log = "fvengine search log\n";
  log += std::string(SideName(sideToMove)) + " to move; scores from Sente's view\n";
  for (const Iteration& it : result.iterations) log += IterationLine(it) + "\n";
  if (!result.iterations.empty()) log += PvLine(result.iterations.back()) + "\n";
  log += "pruning: null move " + std::to_string(s.nullMoveCutoffs) + " cutoffs of " +
         std::to_string(s.nullMoveTries) + " tries, late move reductions " +
         std::to_string(s.lateMoveReductions) + " with " + std::to_string(s.lateMoveResearches) +
         " re-searched, beta cutoffs " + std::to_string(s.betaCutoffs) + " with " +
         std::to_string(s.firstMoveCutoffs) + " on the first move\n";
  log += "hashing: " + std::to_string(s.hashProbes) + " probes, " + std::to_string(s.hashHits) +
         " hits, " + std::to_string(s.hashCutoffs) + " cutoffs\n";
  log += "nodes " + std::to_string(s.nodes) + " with " + std::to_string(s.quiescenceNodes) +
         " in quiescence, " + std::to_string(result.milliseconds) + " ms";
  // A rate over less than a millisecond would be made up.
  if (result.milliseconds > 0)
    log += ", " + std::to_string(s.nodes * 1000 / std::uint64_t(result.milliseconds)) +
           " nodes per second";
  log += "\n";
  return log;
}

}  // namespace fv::engine
