#include <gtest/gtest.h>

#include <tuple>
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
  const std::tuple<std::vector<const char*>, Request, RankingOrder> cases[] = {
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
  for (const auto& [arguments, request, order] : cases) {
    const CommandLine line = Parse(arguments);
    EXPECT_EQ(std::tuple(line.request, line.settings.order, line.settings.rankCount),
              std::tuple(request, order, 150))
        << arguments.size() << " " << (arguments.empty() ? "" : arguments[0]);
  }
}

}  // namespace
}  // namespace fv
