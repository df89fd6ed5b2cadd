#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

// The example's PV reaches the leaf with these moves; a PV of three moves
// starting with Gote, with a capture by each side.
const std::string GoteFirstLog = "  8  1.-2324FU 2.+2524FU 3.-3324GI\n";
// Ends inside the KKP row (75, 5), after feature 600: 501 and 398 are read,
// 669 reads as 0.
constexpr std::uint64_t ShortFileBytes = 176'584'212 + 2 * ((75 * 81 + 5) * 738 + 601);

// FV_UPDATE_EXPECTED=1 rewrites the expected files from the current output;
// check the difference by hand before committing it.
void CompareWithExpected(const std::string& name, const std::string& actual) {
  const std::string path = "tests/run/expected/" + name;
  if (std::getenv("FV_UPDATE_EXPECTED")) std::ofstream(fs::path(FV_SOURCE_DIR) / path, std::ios::binary) << actual;
  EXPECT_EQ(actual, SourceFile(path)) << path;
}

// `text` with the first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// The text converted from Shift_JIS (Windows code page 932, whose wave dash
// and full-width comma the transcript uses) to UTF-8.
std::string ShiftJisToUtf8(const std::string& text) {
  const iconv_t converter = iconv_open("UTF-8", "CP932");
  std::string in = text, out(text.size() * 2, '\0');
  char *from = in.data(), *to = out.data();
  std::size_t left = in.size(), room = out.size();
  const bool converted =
      converter != iconv_t(-1) && iconv(converter, &from, &left, &to, &room) != std::size_t(-1);
  if (converter != iconv_t(-1)) iconv_close(converter);
  if (!converted) throw std::runtime_error("cannot convert from CP932");
  out.resize(out.size() - room);
  return out;
}

std::string RecordWith(const std::string& from, const std::string& to) { return Replaced(Record, from, to); }

TEST(EndToEnd, PreparedCasesMatchTheirTranscriptsAndReports) {
  struct Case {
    std::string name, report, searchLog;
    std::vector<std::string> arguments;
    std::string err;
  };
  // The order of the ranking does not change the report.
  const Case cases[] = {
      {"example", "example", SearchLog, {"1", "2"}, ""},  // two arguments: order 0
      {"example-order1", "example", SearchLog, {"1"}, ""},
      {"example-order2", "example", SearchLog, {"2"}, ""},
      {"gote-first", "gote-first", GoteFirstLog, {}, ""},
      {"empty-pv", "empty-pv", "", {},
       "fvexplain: ./log/n000.log: warning: cannot open (No such file or directory), the PV is empty\n"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, c.searchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.Write("report.html", std::string(5000, 'x'));
    const RunResult result = workspace.Run(c.arguments);
    EXPECT_EQ(result.status, 0) << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    CompareWithExpected(c.name + ".stdout", result.out);
    CompareWithExpected(c.report + ".report.html", workspace.Read("report.html"));
    EXPECT_TRUE(fs::is_directory(workspace.dir() / "log"));  // created when missing
  }
}

// The transcript's Japanese words (the statistics) in the console's encoding:
// UTF-8 for a UTF-8 locale, also one named but not installed; the Shift_JIS
// bytes otherwise. Every other byte, and the report, stay the same.
TEST(EndToEnd, TranscriptFollowsTheLocalesCharacterSet) {
  const std::string utf8 = ShiftJisToUtf8(ExpectedOut);
  ASSERT_NE(utf8, ExpectedOut);
  struct Case {
    const char* locale;
    const std::string& out;
  };
  for (const Case c : {Case{"C.UTF-8", utf8},
                       {"xx_YY.utf8@euro", utf8},
                       {"POSIX", ExpectedOut},
                       {"ja_JP.SJIS", ExpectedOut}}) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    const RunResult result = workspace.Run({}, {.locale = c.locale});
    EXPECT_EQ(result.status, 0) << c.locale;
    EXPECT_EQ(result.out, c.out) << c.locale;
    EXPECT_EQ(workspace.Read("report.html"), ExpectedReport) << c.locale;
  }
}

// Only Gote's KKP weight of its RY (+320) lies beyond the end: the KKP sum
// becomes 640 and the total (-50528 + 640 + 33875) / 32 = -500.
TEST(EndToEnd, ShortWeightFileWarnsAndReadsZeroBeyondItsEnd) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  workspace.UseWeights(ChosenWeights, ShortFileBytes);
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "fvexplain: ./fv.bin: warning: the file has 185559494 bytes, expected 186268248; "
            "the weights beyond its end read as 0\n");
  EXPECT_EQ(result.out, Replaced(ExpectedOut, "KKP=320\n", "KKP=640\n"));
  EXPECT_EQ(workspace.Read("report.html"), Replaced(ExpectedReport, "=-510<br>", "=-500<br>"));
}

TEST(EndToEnd, LogFolderLosesItsFilesAndLinksOnly) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  workspace.UseWeights(ChosenWeights);
  fs::create_directories(workspace.dir() / "log/keep/inner");
  fs::create_directories(workspace.dir() / "outside");
  workspace.Write("log/rank151.png", "stale");
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
  std::vector<std::string> expected = {"explain.json", "game000.csa", "init.png", "keep", "leaf.png",
                                       "n000.log"};
  for (int rank = 1; rank <= 150; ++rank) expected.push_back(fs::path(RankPicture(rank)).filename());
  EXPECT_EQ(entries, expected);
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
      {Record, "  8  1.+2824HI\n",
       "./log/n000.log: move 1 (2824HI): moves HI from 28 to 24, jumping over a piece"},
      {Record, "  8  1.+2524FU 2.-2324FU 3.+2824HI 4.-0039FU\n",
       "./log/n000.log: move 4 (0039FU): drops FU on 39, where it can never move"},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    workspace.UseReplayEngine(c.record, c.log);
    workspace.UseWeights(ChosenWeights);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << c.err;
    EXPECT_EQ(result.err, "fvexplain: " + c.err + "\n");
  }
}

TEST(EndToEnd, UnusableWorkingDirectoryIsFatal) {
  struct Case { std::string err; void (*setUp)(Workspace&); };
  const Case cases[] = {
      {"./engine: cannot start (No such file or directory)", [](Workspace& w) { w.UseWeights({}); }},
      {"./engine: cannot start (Permission denied)",
       [](Workspace& w) { w.UseWeights({}), w.Write("engine", "#!/bin/sh\n"); }},
      {"log: is not a directory",
       [](Workspace& w) { w.UseReplayEngine(Record, SearchLog), w.UseWeights({}), w.Write("log", "file"); }},
      {"./report.html: cannot create (Is a directory)",
       [](Workspace& w) { w.UseReplayEngine(Record, SearchLog), fs::create_directories(w.dir() / "report.html"); }},
      {"./fv.bin: cannot open (No such file or directory)", [](Workspace& w) { w.UseReplayEngine(Record, SearchLog); }},
      {"./fv.bin: is a directory",
       [](Workspace& w) { w.UseReplayEngine(Record, SearchLog), fs::create_directories(w.dir() / "fv.bin"); }},
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
    if (!c.err.starts_with("log:")) {
      EXPECT_EQ(workspace.Read("log/stale.png"), "stale") << c.err;  // the log was not emptied
      EXPECT_FALSE(fs::exists(workspace.dir() / "log/game000.csa")) << c.err;  // nor the engine run
    }
  }
}

TEST(EndToEnd, EngineFailureIsReportedAndTheRunGoesOn) {
  struct Case { std::string ending, err; };
  for (const Case& c : {Case{"exit 3", "ended with status 3"}, {"kill -TERM $$", "ended by signal 15 (Terminated)"}}) {
    Workspace workspace;
    workspace.Write("game000.csa", Record);
    workspace.Write("n000.log", SearchLog);
    workspace.UseWeights(ChosenWeights);
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
