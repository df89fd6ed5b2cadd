#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "engine/time_control.h"
#include "engine/usi_options.h"
#include "shogi/position.h"

namespace fv::engine {
namespace {

GoClock Clock(std::int64_t time, std::int64_t increment, std::int64_t byoyomi, int side = Sente) {
  GoClock clock;
  clock.time[side] = time;
  clock.increment[side] = increment;
  clock.byoyomi = byoyomi;
  return clock;
}

TEST(ThinkingTime, EveryMoveEndsBeforeTheClockAndNoTimeMeansNoLimit) {
  const std::tuple<const char*, GoClock, Side> cases[] = {
      {"byoyomi 100 and no time left", Clock(0, 0, 100), Sente},
      {"byoyomi 10 s", Clock(0, 0, 10'000), Sente},
      {"little time, no byoyomi", Clock(150, 0, 0), Sente},
      {"an hour", Clock(3'600'000, 0, 0), Sente},
      {"time and byoyomi", Clock(60'000, 0, 5'000), Sente},
      {"increment, little time", Clock(400, 10'000, 0), Sente},
      {"Gote's clock", Clock(2'000, 0, 0, Gote), Gote},
  };
  for (const auto& [what, clock, side] : cases) {
    const ThinkingTime plan = PlanThinkingTime(clock, side);
    const std::int64_t available = clock.time[side] + clock.byoyomi;
    const std::int64_t latest = available - std::min<std::int64_t>(300, available / 10);
    EXPECT_TRUE(plan.limited && 1 <= plan.stopAt && plan.stopAt <= latest &&
                plan.deepenUntil <= plan.stopAt)
        << what << ": " << plan.stopAt;
  }
  EXPECT_GE(PlanThinkingTime(Clock(0, 0, 10'000), Sente).deepenUntil, 9'000)
      << "a byoyomi is used, since it is lost otherwise";
  EXPECT_EQ(PlanThinkingTime(Clock(0, 0, 100), Gote).stopAt, 90) << "a short byoyomi keeps a tenth";
  EXPECT_LE(PlanThinkingTime(Clock(3'600'000, 0, 0), Sente).stopAt, 3'600'000 / 10)
      << "the main time is shared among the moves to come";
  EXPECT_FALSE(PlanThinkingTime(Clock(0, 0, 0), Sente).limited);
  EXPECT_FALSE(PlanThinkingTime(Clock(5'000, 0, 0, Gote), Sente).limited) << "only Gote has time";
  GoClock moveTime;
  moveTime.moveTime = 2'000;
  EXPECT_EQ(PlanThinkingTime(moveTime, Gote).stopAt, 1'800);
}

TEST(UsiOptions, DeclaredWithDefaultsAndSetByName) {
  std::string declared;
  for (const std::string& line : OptionDeclarations()) declared += line + "\n";
  EXPECT_EQ(declared,
            "option name EvalFile type string default fv.bin\n"
            "option name USI_Hash type spin default 16 min 1 max 4096\n"
            "option name USI_Ponder type check default false\n"
            "option name Depth type spin default 0 min 0 max 64\n");
  UsiOptions options;
  const std::pair<const char*, const char*> cases[] = {
      // the arguments, the problem
      {"name EvalFile value /weights/my fv.bin", ""},
      {"name usi_hash value 256", ""},
      {" name  USI_Ponder  value true\r\n", ""},
      {"name Depth value 12", ""},
      {"name Depth value 65", "setoption: Depth: expected a whole number from 0 to 64, not '65'"},
      {"name USI_Hash value 0", "setoption: USI_Hash: expected a whole number from 1 to 4096"},
      {"name USI_Ponder value yes", "setoption: USI_Ponder: expected true or false, not 'yes'"},
      {"name EvalFile value", "setoption: EvalFile: expected a file name"},
      {"name Style value sharp", "setoption: unknown option 'Style'"},
      {"Depth 3", "setoption: expected 'name X value Y'"},
  };
  for (const auto& [arguments, problem] : cases)
    EXPECT_EQ(SetOption(options, arguments).substr(0, std::string(problem).size()), problem)
        << arguments;
  EXPECT_EQ(std::tie(options.evalFile, options.hashMb, options.ponder, options.depth),
            std::tuple("/weights/my fv.bin", 256, true, 12));
}

}  // namespace
}  // namespace fv::engine
