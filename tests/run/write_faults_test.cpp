// Writes that fail while the run saves its pictures, its explanation files and
// its report, made real with a file-size limit on the run (every write past it
// fails with EFBIG, as on a full disk): each file that could not be written is named, the run ends
// with status 1, and no file is left half-written under its final name.
#include <gtest/gtest.h>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

// The lines of `text`, without their line ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(WriteFaults, FailedWritesAreNamedAndLeaveNoPartialFile) {
  struct Case {
    off_t limit;         // the pictures are some 30 kB, the report under 7 kB
    bool reportWritten;  // else the earlier report stays
  };
  for (const Case c : {Case{20'000, true}, Case{2'000, false}}) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.Write("report.html", "earlier");
    const RunResult result = workspace.Run({}, {.seconds = 60, .fileBytes = c.limit});
    EXPECT_EQ(result.status, 1) << c.limit;
    EXPECT_EQ(result.out, ExpectedOut) << c.limit;  // the run went on to its end

    std::vector<std::string> expected = {"fvexplain: ./log/init.png: cannot write (File too large)",
                                         "fvexplain: ./log/leaf.png: cannot write (File too large)"};
    for (int rank = 1; rank <= 150; ++rank) expected.push_back("fvexplain: ./" + RankPicture(rank) + ": cannot write (File too large)");
    // Both explanation files are larger than either limit.
    for (const char* file : {"./log/explain.json", "./explain.html"})
      expected.push_back(std::string("fvexplain: ") + file + ": cannot write (File too large)");
    if (!c.reportWritten) expected.push_back("fvexplain: ./report.html: cannot write (File too large)");
    EXPECT_EQ(Lines(result.err), expected) << c.limit;

    EXPECT_EQ(workspace.Read("report.html"), c.reportWritten ? ExpectedReport : "earlier") << c.limit;
    EXPECT_FALSE(fs::exists(workspace.dir() / "explain.html")) << c.limit;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(workspace.dir() / "log")) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"game000.csa", "n000.log"})) << c.limit;
    for (const auto& entry : fs::directory_iterator(workspace.dir()))
      EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

// A transcript that cannot be written (a full disk, a reader gone, standard
// output closed) fails the run like a picture: named on standard error,
// status 1, all else finished.
TEST(WriteFaults, UnwritableTranscriptEndsWithStatus1) {
  struct Case {
    RunOutput output;
    const char* err;
  };
  for (const Case c : {Case{RunOutput::DevFull, "No space left on device"},
                       {RunOutput::ClosedPipe, "Broken pipe"}, {RunOutput::Closed, "Bad file descriptor"}}) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    const RunResult result = workspace.Run({}, {.output = c.output});
    EXPECT_EQ(result.status, 1) << c.err;
    // After what the engine (a script that prints a line) says about its own output.
    EXPECT_TRUE(result.err.ends_with("\nfvexplain: standard output: cannot write (" +
                                     std::string(c.err) + ")\n"))
        << result.err;
    EXPECT_EQ(workspace.Read("report.html"), ExpectedReport) << c.err;
    EXPECT_TRUE(fs::is_regular_file(workspace.dir() / RankPicture(150))) << c.err;
  }
}

}  // namespace
}  // namespace fv::test
