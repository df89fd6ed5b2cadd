#include <gtest/gtest.h>

#include <algorithm>

#include "tests/run/workspace.h"

namespace fv::test {
namespace {

const std::string Record = SourceFile("examples/replay/game000.csa");
const std::string SearchLog = SourceFile("examples/replay/n000.log");
const std::string ExpectedOut = SourceFile("tests/run/expected/example.stdout");
const std::string ExpectedReport = SourceFile("tests/run/expected/example.report.html");

std::string RecordWith(const std::string& from, const std::string& to) {
  std::string record = Record;
  return record.replace(record.find(from), from.size(), to);
}

TEST(EndToEnd, ExampleTranscriptAndReportAreExact) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  workspace.Write("report.html", std::string(5000, 'x'));
  const RunResult result = workspace.Run({"1", "2"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, ExpectedOut);
  EXPECT_EQ(workspace.Read("report.html"), ExpectedReport);
  EXPECT_TRUE(fs::is_directory(workspace.dir() / "log"));  // created when missing
}

TEST(EndToEnd, LogFolderLosesItsFilesAndLinksOnly) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  fs::create_directories(workspace.dir() / "log/keep/inner");
  fs::create_directories(workspace.dir() / "outside");
  workspace.Write("log/rank001.png", "stale");
  workspace.Write("log/n000.log", "  8  1.+1111FU\n");
  workspace.Write("log/keep/inner/note.txt", "kept");
  workspace.Write("outside/target.txt", "target");
  fs::create_symlink("../outside/target.txt", workspace.dir() / "log/link-to-file");
  fs::create_symlink("../outside", workspace.dir() / "log/link-to-folder");
  fs::create_symlink("../nowhere", workspace.dir() / "log/dangling-link");
  const RunResult result = workspace.Run();
  std::vector<std::string> entries;
  for (const auto& entry : fs::directory_iterator(workspace.dir() / "log")) entries.push_back(entry.path().filename());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"game000.csa", "keep", "n000.log"}));
  EXPECT_EQ(workspace.Read("log/keep/inner/note.txt"), "kept");
  EXPECT_EQ(workspace.Read("outside/target.txt"), "target");
  EXPECT_EQ(result.out, ExpectedOut);
}

TEST(EndToEnd, FatalInputsStopWithOneLine) {
  struct Case { std::string record, log, err; };
  const Case cases[] = {
      {"", SearchLog, "./log/game000.csa: cannot open (No such file or directory)"},
      {"V2.2\nN+a\nN-b\nP1 * \n", SearchLog, "./log/game000.csa: line 4: board line shorter than its nine cells"},
      {RecordWith("-OU", "-KI"), SearchLog, "./log/game000.csa: 0 kings of Gote on the board, there must be exactly one"},
      {RecordWith("P+00KA", "P+00KA00FU"), SearchLog, "./log/game000.csa: 39 pieces besides the kings, a set has 38"},
      {RecordWith("P8 *  * +KI", "P8 *  * +KA"), SearchLog, "./log/game000.csa: 3 pieces of kind KA, a set has 2"},
      {RecordWith("P9+KY+KE * ", "P9+KY * -KE"), SearchLog, "./log/game000.csa: -KE on 79 can never move"},
      {Record, "  8  1.+2524FU 2.-2324FU 3.+2724HI\n", "./log/n000.log: move 3 (2724HI): no piece of Sente on 27"},
      {Record, "  8  1.+0055HI\n", "./log/n000.log: move 1 (0055HI): drops HI, which Sente does not hold"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    workspace.UseReplayEngine(c.record, c.log);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << c.err;
    EXPECT_EQ(result.err, "fvexplain: " + c.err + "\n");
  }
}

TEST(EndToEnd, UnusableWorkingDirectoryIsFatal) {
  struct Case { std::string err; void (*setUp)(Workspace&); };
  const Case cases[] = {
      {"./engine: cannot start (No such file or directory)", [](Workspace&) {}},
      {"./engine: cannot start (Permission denied)", [](Workspace& w) { w.Write("engine", "#!/bin/sh\n"); }},
      {"log: is not a directory", [](Workspace& w) { w.UseReplayEngine(Record, SearchLog), w.Write("log", "file"); }},
      {"./report.html: cannot create (Is a directory)",
       [](Workspace& w) { w.UseReplayEngine(Record, SearchLog), fs::create_directories(w.dir() / "report.html"); }},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    c.setUp(workspace);
    if (!fs::exists(workspace.dir() / "log")) fs::create_directories(workspace.dir() / "log");
    workspace.Write("log/stale.png", "stale");
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << c.err;
    EXPECT_EQ(result.err, "fvexplain: " + c.err + "\n");
    EXPECT_EQ(result.out, "") << c.err;
    if (c.err.starts_with("./report")) {
      EXPECT_EQ(workspace.Read("log/stale.png"), "stale");  // nothing was done before
    }
  }
}

TEST(EndToEnd, MissingSearchLogGivesAnEmptyPv) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, "");
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "fvexplain: ./log/n000.log: warning: cannot open (No such file or directory), the PV is empty\n");
  const std::size_t boardStart = ExpectedOut.find("   9"), boardEnd = ExpectedOut.find("\nPV=");
  const std::string board = ExpectedOut.substr(boardStart, boardEnd - boardStart);
  EXPECT_EQ(result.out, ExpectedOut.substr(0, boardStart) + board + "\nPV=\n\n" + board);
  EXPECT_NE(workspace.Read("report.html").find("PV=<br><br></BODY></HTML>"), std::string::npos);
}

TEST(EndToEnd, EngineFailureIsReportedAndTheRunGoesOn) {
  struct Case { std::string ending, err; };
  for (const Case& c : {Case{"exit 3", "ended with status 3"}, {"kill -TERM $$", "ended by signal 15 (Terminated)"}}) {
    Workspace workspace;
    workspace.Write("game000.csa", Record);
    workspace.Write("n000.log", SearchLog);
    workspace.UseEngineScript("cp game000.csa n000.log log/\n" + c.ending);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 0) << c.ending;
    EXPECT_EQ(result.err, "fvexplain: ./engine: warning: " + c.err + "\n");
    EXPECT_EQ(result.out, ExpectedOut.substr(ExpectedOut.find('\n') + 1)) << c.ending;
  }
}

TEST(EndToEnd, HelpAndVersionTouchNothing) {
  for (const std::string argument : {"-h", "--help", "--version"}) {
    Workspace workspace;
    workspace.UseEngineScript("touch ran");
    fs::create_directories(workspace.dir() / "log");
    workspace.Write("log/stale.png", "stale");
    workspace.Write("report.html", "old report");
    const RunResult result = workspace.Run({argument});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with(argument == "--version" ? "fvexplain 0." : "usage: fvexplain [ORDER]\n")) << argument;
    EXPECT_EQ(workspace.Read("log/stale.png") + workspace.Read("report.html"), "staleold report") << argument;
    EXPECT_FALSE(fs::exists(workspace.dir() / "ran")) << argument;
  }
}

}  // namespace
}  // namespace fv::test
