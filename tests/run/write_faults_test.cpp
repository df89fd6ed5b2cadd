// Writes that fail while the run saves its pictures, its explanation files and
// its report, made real with a file-size limit on the run (every write past it
// fails with EFBIG, as on a full disk): each file that could not be written is
// named, the run ends with status 1, and no file is left half-written under its
// final name.
#include <gtest/gtest.h>

#include <set>

#include "tests/run/example_case.h"
#include "tests/support/test_files.h"

namespace fv::test {
namespace {

TEST(WriteFaults, FailedWritesAreNamedAndLeaveNoPartialFile) {
  // The pictures are some 30 kB, the report under 7 kB: written under the
  // larger limit; under the smaller one the earlier report stays.
  for (const auto& [limit, reportWritten] :
       {std::pair<off_t, bool>{20'000, true}, {2'000, false}}) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.Write("report.html", "earlier");
    const RunResult result = workspace.Run({}, {.seconds = 60, .fileBytes = limit});
    // The run went on to its end.
    EXPECT_EQ(std::to_string(result.status) + result.out, "1" + ExpectedOut) << limit;

    // Both explanation files are larger than either limit.
    std::vector<std::string> files = PictureNames();
    files.insert(files.end(), {"log/explain.json", "explain.html"});
    if (!reportWritten) files.push_back("report.html");
    std::string err;
    for (const std::string& file : files)
      err += "fvexplain: ./" + file + ": cannot write (File too large)\n";
    EXPECT_EQ(result.err, err) << limit;

    EXPECT_EQ(workspace.Read("report.html"), reportWritten ? ExpectedReport : "earlier");
    EXPECT_FALSE(fs::exists(workspace.dir() / "explain.html")) << limit;
    EXPECT_EQ(test::FilesIn(workspace.dir() / "log"),
              (std::set<std::string>{"game000.csa", "n000.log"}))
        << limit;
    for (const auto& entry : fs::directory_iterator(workspace.dir()))
      EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

// A transcript that cannot be written (a full disk, a reader gone, standard
// output closed) fails the run like a picture: named on standard error,
// status 1, all else finished.
TEST(WriteFaults, UnwritableTranscriptEndsWithStatus1) {
  for (const auto& [output, reason] : {std::pair{RunOutput::DevFull, "No space left on device"},
                                       {RunOutput::ClosedPipe, "Broken pipe"},
                                       {RunOutput::Closed, "Bad file descriptor"}}) {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    const RunResult result = workspace.Run({}, {.output = output});
    EXPECT_EQ(result.status, 1) << reason;
    // After what the engine (a script that prints a line) says about its own output.
    EXPECT_TRUE(result.err.ends_with("\nfvexplain: standard output: cannot write (" +
                                     std::string(reason) + ")\n"))
        << result.err;
    EXPECT_EQ(workspace.Read("report.html"), ExpectedReport) << reason;
    EXPECT_TRUE(fs::is_regular_file(workspace.dir() / RankPicture(150))) << reason;
  }
}

}  // namespace
}  // namespace fv::test
