// How long to think on one move, from the clock a USI "go" command gives.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/position.h"

namespace fv::engine {

// Milliseconds from a "go" command; 0 for what it does not name.
struct GoClock {
  std::array<std::int64_t, 2> time{};       // left on each side's clock (btime, wtime)
  std::array<std::int64_t, 2> increment{};  // added after each move (binc, winc)
  std::int64_t byoyomi = 0;                 // per move once the time is used up
  std::int64_t moveTime = 0;                // think exactly this long
};

struct ThinkingTime {
  bool limited = false;          // false: think until told to stop or the depth is reached
  std::int64_t deepenUntil = 0;  // start no iteration after this many milliseconds
  std::int64_t stopAt = 0;       // stop the search after this many milliseconds
};

// The thinking time of `side` on `clock`. The answer must reach the GUI before
// the clock runs out: a safety margin (300 ms, or a tenth of the time when less
// than 3 s can be spent) is kept for the time the search takes to stop, the
// answer's way to the GUI and the GUI's own rounding; a short byoyomi such as
// 100 ms thus leaves 90 ms of search. A share of the main time
// (a fortieth plus the increment) is aimed at and never more than four times
// it spent; the byoyomi is always usable in full, since it is lost otherwise.
ThinkingTime PlanThinkingTime(const GoClock& clock, Side side);

}  // namespace fv::engine
