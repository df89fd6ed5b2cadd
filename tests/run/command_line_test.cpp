#include <gtest/gtest.h>

#include <vector>

#include "run/command_line.h"

namespace fv {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "fvexplain");
  return ParseCommandLine(int(arguments.size()), arguments.data());
}

TEST(CommandLine, OneArgumentIsReadWithAtoi) {
  struct Case { const char* argument; int sortMode; };
  for (const Case c : {Case{"1", 1}, {"0", 0}, {"-1", -1}, {"2", 2}, {"7", 7}, {"1x", 1}, {"x1", 0},
                       {"  +3", 3}, {"", 0}, {"--", 0}, {"-v", 0}, {"--help=1", 0}}) {
    const CommandLine line = Parse({c.argument});
    EXPECT_EQ(line.request, Request::Analyse) << c.argument;
    EXPECT_EQ(line.settings.sortMode, c.sortMode) << c.argument;
    EXPECT_EQ(line.settings.rankCount, 150) << c.argument;
  }
}

TEST(CommandLine, NoneOrSeveralArgumentsKeepTheDefaults) {
  for (const auto& arguments : {std::vector<const char*>{}, {"1", "1"}, {"--help", "x"}, {"2", "--version", "3"}}) {
    const CommandLine line = Parse(arguments);
    EXPECT_EQ(line.request, Request::Analyse);
    EXPECT_EQ(line.settings.sortMode, 0);
  }
}

TEST(CommandLine, HelpAndVersionRequests) {
  EXPECT_EQ(Parse({"-h"}).request, Request::Help);
  EXPECT_EQ(Parse({"--help"}).request, Request::Help);
  EXPECT_EQ(Parse({"--version"}).request, Request::Version);
}

}  // namespace
}  // namespace fv
