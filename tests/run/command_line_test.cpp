#include <gtest/gtest.h>

#include <vector>

#include "run/command_line.h"

namespace fv {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "fvexplain");
  return ParseCommandLine(int(arguments.size()), arguments.data());
}

TEST(CommandLine, OneArgumentIsReadWithAtoiOthersAreIgnored) {
  // The number saturates: 4294967297 would wrap to 1 (Sente's first).
  constexpr RankingOrder size = RankingOrder::LargestMagnitudeFirst;
  constexpr RankingOrder sente = RankingOrder::MostFavourableToSenteFirst;
  constexpr RankingOrder gote = RankingOrder::MostFavourableToGoteFirst;
  struct Case {
    std::vector<const char*> arguments;
    Request request;
    RankingOrder order;
  };
  const Case cases[] = {
      {{}, Request::Analyse, size},
      {{"1"}, Request::Analyse, sente},
      {{"-1"}, Request::Analyse, gote},
      {{"7"}, Request::Analyse, gote},
      {{"1x"}, Request::Analyse, sente},
      {{"x1"}, Request::Analyse, size},
      {{"  +1"}, Request::Analyse, sente},
      {{""}, Request::Analyse, size},
      {{"--help=1"}, Request::Analyse, size},
      {{"1", "1"}, Request::Analyse, size},
      {{"--help", "x"}, Request::Analyse, size},
      {{"4294967297"}, Request::Analyse, gote},
      {{"-4294967295"}, Request::Analyse, gote},
      {{"-h"}, Request::Help, size},
      {{"--help"}, Request::Help, size},
      {{"--version"}, Request::Version, size},
  };
  for (const Case& c : cases) {
    const CommandLine line = Parse(c.arguments);
    const char* first = c.arguments.empty() ? "" : c.arguments[0];
    EXPECT_EQ(line.request, c.request) << c.arguments.size() << " " << first;
    EXPECT_EQ(line.settings.order, c.order) << c.arguments.size() << " " << first;
    EXPECT_EQ(line.settings.rankCount, 150);
  }
}

}  // namespace
}  // namespace fv
