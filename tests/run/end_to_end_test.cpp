#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/run/workspace.h"

namespace fv::test {
namespace {

namespace fs = std::filesystem;

std::string ExampleRecord() { return SourceFile("examples/replay/game000.csa"); }
std::string ExampleLog() { return SourceFile("examples/replay/n000.log"); }

// The example record with its text `from` replaced by `to`.
std::string ExampleRecordWith(const std::string& from, const std::string& to) {
  std::string record = ExampleRecord();
  record.replace(record.find(from), from.size(), to);
  return record;
}

TEST(EndToEnd, ExampleTranscriptAndReportAreExact) {
  Workspace workspace;
  workspace.UseReplayEngine(ExampleRecord(), ExampleLog());
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, SourceFile("tests/run/expected/example.stdout"));
  EXPECT_EQ(workspace.Read("report.html"), SourceFile("tests/run/expected/example.report.html"));
}

TEST(EndToEnd, ReportIsReplacedAndSeveralArgumentsAreIgnored) {
  Workspace workspace;
  workspace.UseReplayEngine(ExampleRecord(), ExampleLog());
  workspace.Write("report.html", std::string(5000, 'x'));
  const RunResult result = workspace.Run({"1", "2"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(workspace.Read("report.html"), SourceFile("tests/run/expected/example.report.html"));
}

TEST(EndToEnd, LogFolderIsEmptiedOfFilesOnly) {
  Workspace workspace;
  workspace.UseReplayEngine(ExampleRecord(), ExampleLog());
  const fs::path log = workspace.dir() / "log";
  fs::create_directories(log / "keep/inner");
  fs::create_directories(workspace.dir() / "outside");
  workspace.Write("log/rank001.png", "stale");
  workspace.Write("log/n000.log", "  8  1.+1111FU\n");
  workspace.Write("log/keep/inner/note.txt", "kept");
  workspace.Write("outside/target.txt", "target");
  fs::create_symlink("../outside/target.txt", log / "link-to-file");
  fs::create_symlink("../outside", log / "link-to-folder");
  fs::create_symlink("../nowhere", log / "dangling-link");

  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<std::string> entries;
  for (const auto& entry : fs::directory_iterator(log)) entries.push_back(entry.path().filename());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"game000.csa", "keep", "n000.log"}));
  EXPECT_EQ(workspace.Read("log/keep/inner/note.txt"), "kept");
  EXPECT_EQ(workspace.Read("outside/target.txt"), "target");
  EXPECT_EQ(result.out, SourceFile("tests/run/expected/example.stdout"));
}

TEST(EndToEnd, MissingLogFolderIsCreated) {
  Workspace workspace;
  workspace.UseReplayEngine(ExampleRecord(), ExampleLog());
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::is_directory(workspace.dir() / "log"));
}

TEST(EndToEnd, FatalInputsStopWithOneLine) {
  struct Case { const char* what; std::string record; std::string log; std::string err; };
  const Case cases[] = {
      {"no record", "", ExampleLog(), "fvexplain: ./log/game000.csa: cannot open (No such file or directory)\n"},
      {"record too short", "V2.2\nN+a\nN-b\nP1 * \n", ExampleLog(),
       "fvexplain: ./log/game000.csa: line 4: board line shorter than its nine cells\n"},
      {"no Gote king", ExampleRecordWith("-OU", "-KI"), ExampleLog(),
       "fvexplain: ./log/game000.csa: 0 kings of Gote on the board, there must be exactly one\n"},
      {"extra piece", ExampleRecordWith("P+00KA", "P+00KA00FU"), ExampleLog(),
       "fvexplain: ./log/game000.csa: 39 pieces besides the kings, a set has 38\n"},
      {"third bishop", ExampleRecordWith("P8 *  * +KI", "P8 *  * +KA"), ExampleLog(),
       "fvexplain: ./log/game000.csa: 3 pieces of kind KA, a set has 2\n"},
      {"dead knight", ExampleRecordWith("P9+KY+KE * ", "P9+KY * -KE"), ExampleLog(),
       "fvexplain: ./log/game000.csa: -KE on 79 can never move\n"},
      {"illegal PV move", ExampleRecord(), "  8  1.+2524FU 2.-2324FU 3.+2724HI\n",
       "fvexplain: ./log/n000.log: move 3 (2724HI): no piece of Sente on 27\n"},
      {"drop not held", ExampleRecord(), "  8  1.+0055HI\n",
       "fvexplain: ./log/n000.log: move 1 (0055HI): drops HI, which Sente does not hold\n"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    workspace.UseReplayEngine(c.record, c.log);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << c.what;
    EXPECT_EQ(result.err, c.err) << c.what;
  }
}

TEST(EndToEnd, EngineThatCannotStartIsFatal) {
  struct Case { const char* what; int mode; std::string err; };
  const Case cases[] = {
      {"missing", -1, "fvexplain: ./engine: cannot start (No such file or directory)\n"},
      {"not executable", 0644, "fvexplain: ./engine: cannot start (Permission denied)\n"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    if (c.mode >= 0) {
      workspace.Write("engine", "#!/bin/sh\n");
      fs::permissions(workspace.dir() / "engine", fs::perms(c.mode));
    }
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << c.what;
    EXPECT_EQ(result.err, c.err) << c.what;
    EXPECT_EQ(result.out, "") << c.what;
  }
}

TEST(EndToEnd, UnusableWorkingDirectoryIsFatal) {
  Workspace logIsFile;
  logIsFile.UseReplayEngine(ExampleRecord(), ExampleLog());
  logIsFile.Write("log", "not a folder");
  RunResult result = logIsFile.Run();
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "fvexplain: log: is not a directory\n");

  Workspace reportIsFolder;
  reportIsFolder.UseReplayEngine(ExampleRecord(), ExampleLog());
  fs::create_directories(reportIsFolder.dir() / "report.html");
  fs::create_directories(reportIsFolder.dir() / "log");
  reportIsFolder.Write("log/stale.png", "stale");
  result = reportIsFolder.Run();
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "fvexplain: ./report.html: cannot create (Is a directory)\n");
  EXPECT_EQ(reportIsFolder.Read("log/stale.png"), "stale");
}

TEST(EndToEnd, MissingSearchLogGivesAnEmptyPv) {
  Workspace workspace;
  workspace.UseReplayEngine(ExampleRecord(), "");
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "fvexplain: ./log/n000.log: warning: cannot open (No such file or directory), the PV is empty\n");
  const std::string expected = SourceFile("tests/run/expected/example.stdout");
  const std::size_t boardStart = expected.find("   9"), boardEnd = expected.find("\nPV=");
  const std::string board = expected.substr(boardStart, boardEnd - boardStart);
  EXPECT_EQ(result.out, expected.substr(0, boardStart) + board + "\nPV=\n\n" + board);
  EXPECT_NE(workspace.Read("report.html").find("PV=<br><br></BODY></HTML>"), std::string::npos);
}

TEST(EndToEnd, EngineFailureIsReportedAndTheRunGoesOn) {
  struct Case { const char* what; std::string ending; std::string err; };
  const Case cases[] = {
      {"exit status", "exit 3", "fvexplain: ./engine: warning: ended with status 3\n"},
      {"signal", "kill -TERM $$", "fvexplain: ./engine: warning: ended by signal 15 (Terminated)\n"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    workspace.Write("game000.csa", ExampleRecord());
    workspace.Write("n000.log", ExampleLog());
    workspace.UseEngineScript("cp game000.csa n000.log log/\n" + c.ending);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 0) << c.what;
    EXPECT_EQ(result.err, c.err) << c.what;
    EXPECT_NE(result.out.find("PV=+2524FU\n"), std::string::npos) << c.what;
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
    EXPECT_EQ(result.status, 0) << argument;
    EXPECT_EQ(result.err, "") << argument;
    EXPECT_NE(result.out.find(argument == "--version" ? "fvexplain 0." : "usage: fvexplain [ORDER]"), std::string::npos)
        << argument;
    EXPECT_EQ(workspace.Read("log/stale.png"), "stale") << argument;
    EXPECT_EQ(workspace.Read("report.html"), "old report") << argument;
    EXPECT_FALSE(fs::exists(workspace.dir() / "ran")) << argument;
  }
}

}  // namespace
}  // namespace fv::test
