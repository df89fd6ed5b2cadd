#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "run/command_line.h"

namespace fv {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "fvexplain");
  return ParseCommandLine(int(arguments.size()), arguments.data());
}

TEST(CommandLine, OneArgumentIsReadWithAtoiOthersAreIgnored) {
  struct Case { std::vector<const char*> arguments; Request request; int sortMode; };
  const Case cases[] = {
      {{}, Request::Analyse, 0},        {{"1"}, Request::Analyse, 1},      {{"-1"}, Request::Analyse, -1},
      {{"7"}, Request::Analyse, 7},     {{"1x"}, Request::Analyse, 1},     {{"x1"}, Request::Analyse, 0},
      {{"  +3"}, Request::Analyse, 3},  {{""}, Request::Analyse, 0},       {{"--help=1"}, Request::Analyse, 0},
      {{"1", "1"}, Request::Analyse, 0}, {{"--help", "x"}, Request::Analyse, 0},
      {{"2147483647"}, Request::Analyse, INT_MAX}, {{"-2147483648"}, Request::Analyse, INT_MIN},
      {{"4294967297"}, Request::Analyse, INT_MAX}, {{"99999999999999999999"}, Request::Analyse, INT_MAX},
      {{"-4294967295"}, Request::Analyse, INT_MIN},
      {{"-h"}, Request::Help, 0},       {{"--help"}, Request::Help, 0},    {{"--version"}, Request::Version, 0},
  };
  for (const Case& c : cases) {
    const CommandLine line = Parse(c.arguments);
    EXPECT_EQ(line.request, c.request) << c.arguments.size() << " " << (c.arguments.empty() ? "" : c.arguments[0]);
    EXPECT_EQ(line.settings.sortMode, c.sortMode) << (c.arguments.empty() ? "" : c.arguments[0]);
    EXPECT_EQ(line.settings.rankCount, 150);
  }
}

}  // namespace
}  // namespace fv
