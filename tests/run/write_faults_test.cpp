// Writes that fail while the run saves its pictures, its explanation files and
// its report, made real with a file-size limit on the run (every write past it
// fails with EFBIG, as on a full disk): each file that could not be written is
// named, the run ends with status 1, and no file is left half-written under its
// final name.
#include <gtest/gtest.h>

#include <set>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

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

    // Both explanation files are larger than either limit.
    std::vector<std::string> files = PictureNames();
    files.insert(files.end(), {"log/explain.json", "explain.html"});
    if (!c.reportWritten) files.push_back("report.html");
    std::string err;
    for (const std::string& file : files)
      err += "fvexplain: ./" + file + ": cannot write (File too large)\n";
    EXPECT_EQ(result.err, err) << c.limit;

    EXPECT_EQ(workspace.Read("report.html"), c.reportWritten ? ExpectedReport : "earlier");
    EXPECT_FALSE(fs::exists(workspace.dir() / "explain.html")) << c.limit;
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(workspace.dir() / "log"))
      left.insert(entry.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{"game000.csa", "n000.log"})) << c.limit;
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
                       {RunOutput::ClosedPipe, "Broken pipe"},
                       {RunOutput::Closed, "Bad file descriptor"}}) {
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
