// The search log: one line per finished iteration, the final principal
// variation on the one line marked "  8  " in the numbered form
// "1.+7776FU 2.-3334FU ...", then a statistics block opened by a line
// containing "pruning". Log readers take the PV from the marked line and stop
// at "pruning", so no other line may hold the marker, and no line after the
// marked one holds a digit followed by a point (they read on for move tags).
#pragma once

#include <string>
#include <vector>

#include "engine/search.h"

namespace fv::engine {

constexpr int MaxLoggedPvMoves = 15;

// "Sente to move, searching to depth 8 within 4000 ms; scores are from Sente's view"
std::string SearchHeading(Side sideToMove, const SearchLimits& limits);
// "depth 3 score 87 nodes 1234 time 5 ms pv +7776FU -3334FU +2726FU"
std::string IterationLine(const Iteration& it);
// "the time limit of 4000 ms ended the search during depth 7 of 8; the result is
// that of depth 6", or "" when the search was not cut short.
std::string TimeLimitLine(const SearchResult& result, const SearchLimits& limits);
// "best score 87 pv  8  1.+7776FU 2.-3334FU ...", at most 15 moves.
std::string PvLine(const Iteration& it);
// The whole log for a search of a position with `sideToMove` to move.
std::string FormatSearchLog(const SearchResult& result, Side sideToMove);

}  // namespace fv::engine
