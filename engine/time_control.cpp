#include "engine/time_control.h"

#include <algorithm>

namespace fv::engine {
namespace {

constexpr std::int64_t SafetyMarginMs = 300;
constexpr std::int64_t SmallestMarginShare = 10;  // below 3 s, a tenth of the time is kept
constexpr std::int64_t MovesToPlan = 40;  // the main time is shared as if this many moves remained
constexpr std::int64_t MostShares = 4;    // a hard move may take this many shares

}  // namespace

ThinkingTime PlanThinkingTime(const GoClock& clock, Side side) {
  const std::int64_t time = std::max<std::int64_t>(clock.time[side], 0);
  const std::int64_t increment = std::max<std::int64_t>(clock.increment[side], 0);
  const std::int64_t byoyomi = std::max<std::int64_t>(clock.byoyomi, 0);
  const std::int64_t moveTime = std::max<std::int64_t>(clock.moveTime, 0);
  if (time == 0 && increment == 0 && byoyomi == 0 && moveTime == 0) return {};

  // The increment comes after the move: only the time left and the byoyomi can be spent now.
  const std::int64_t available = moveTime > 0 ? moveTime : time + byoyomi;
  const std::int64_t usable = std::max<std::int64_t>(
      available - std::min(SafetyMarginMs, available / SmallestMarginShare), 1);
  if (moveTime > 0) return {true, usable, usable};
  const std::int64_t share = time / MovesToPlan + increment;
  ThinkingTime plan;
  plan.limited = true;
  plan.stopAt = std::min(usable, share * MostShares + byoyomi);
  // An iteration started after half the share would rarely finish within it.
  plan.deepenUntil = std::min(plan.stopAt, share / 2 + byoyomi);
  return plan;
}

}  // namespace fv::engine
