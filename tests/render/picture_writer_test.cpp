#include <filesystem>
#include <set>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"
#include "render/picture_writer.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using test::FilesIn;
using testing::SamePixels;
using testing::TempFolder;

cv::Mat Numbered(int n) {
  cv::Mat picture(640, 640, CV_8UC3, cv::Scalar::all(0));
  picture(cv::Rect(n, n, 50, 50)).setTo(cv::Scalar(n, 255 - n, 7));
  return picture;
}

std::vector<PictureJob> NumberedJobs(const TempFolder& folder, int count) {
  std::vector<PictureJob> jobs;
  for (int n = 0; n < count; ++n)
    jobs.push_back({folder.File("rank" + std::to_string(n) + ".png"),
                    [n](cv::Mat& picture) { picture = Numbered(n); }});
  return jobs;
}

// On any number of threads, and coded over a reference board or not.
TEST(WritePictures, EveryJobEndsUpUnderItsOwnName) {
  const PngReference reference = MakePngReference(Numbered(0));
  for (const PngReference* over : {static_cast<const PngReference*>(nullptr), &reference})
    for (unsigned threads : {1u, 3u, 0u}) {
      TempFolder folder;
      std::vector<PictureJob> jobs = NumberedJobs(folder, 20);
      for (PictureJob& job : jobs) job.reference = over;
      EXPECT_TRUE(WritePictures(jobs, threads).empty()) << threads;
      EXPECT_EQ(FilesIn(folder.path()).size(), 20u) << "no temporary files left";
      for (int n = 0; n < 20; ++n) {
        const cv::Mat read = cv::imread(jobs[n].path, cv::IMREAD_COLOR);
        EXPECT_TRUE(SamePixels(read, Numbered(n))) << n << " with " << threads << " threads";
      }
    }
}

// Pictures drawn over a reference on one worker: each must start from the
// reference alone, whatever the pictures before it drew or whether they failed.
TEST(WritePictures, PicturesOverAReferenceCarryNoEarlierMark) {
  TempFolder folder;
  const cv::Mat board = Numbered(300);
  const PngReference reference = MakePngReference(board);
  auto mark = [](cv::Rect area, int shade) {
    return [=](cv::Mat& picture) { picture(area).setTo(cv::Scalar(shade, 40, 255 - shade)); };
  };
  const cv::Rect top(10, 0, 600, 20), bottom(20, 600, 30, 40);
  const auto fail = [&](cv::Mat& p) { mark(top, 30)(p), throw std::out_of_range("bad term"); };
  std::vector<PictureJob> jobs = {
      {folder.File("top.png"), mark(top, 10), &reference, true},
      {folder.File("bottom.png"), mark(bottom, 20), &reference, true},
      {folder.File("failed.png"), fail, &reference, true},
      {folder.File("plain.png"), [](cv::Mat&) {}, &reference, true},
      {folder.File("own.png"), [](cv::Mat& p) { p = Numbered(5); }, &reference},
      {folder.File("again.png"), mark(bottom, 40), &reference, true},
  };
  const auto failures = WritePictures(jobs, 1);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, jobs[2].path);
  auto marked = [&](cv::Rect area, int shade) {
    cv::Mat picture = board.clone();
    mark(area, shade)(picture);
    return picture;
  };
  const std::vector<std::pair<std::string, cv::Mat>> expected = {{"top.png", marked(top, 10)},
                                                                 {"bottom.png", marked(bottom, 20)},
                                                                 {"plain.png", board},
                                                                 {"own.png", Numbered(5)},
                                                                 {"again.png", marked(bottom, 40)}};
  for (const auto& [name, pixels] : expected)
    EXPECT_TRUE(SamePixels(cv::imread(folder.File(name), cv::IMREAD_COLOR), pixels)) << name;
  EXPECT_TRUE(SamePixels(board, Numbered(300))) << "the reference board is left as it was";
}

// A file that cannot be written, a drawing that throws and a picture the
// encoder refuses are each reported with the reason; the others are written.
TEST(WritePictures, FailuresAreReportedWithTheirReasonAndTheRestWritten) {
  TempFolder folder;
  std::vector<PictureJob> jobs = NumberedJobs(folder, 5);
  jobs[1].path = folder.File("missing/rank1.png");
  jobs[2].draw = [](cv::Mat&) { throw std::out_of_range("location 99 is not 0..94"); };
  jobs[3].draw = [](cv::Mat& p) { p = cv::Mat(8, 8, CV_8UC1); };
  const auto failures = WritePictures(jobs, 2);
  ASSERT_EQ(failures.size(), 3u);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(failures[n].path, jobs[n + 1].path);
  EXPECT_NE(failures[0].reason.find("No such file or directory"), std::string::npos);
  EXPECT_EQ(failures[1].reason, "location 99 is not 0..94");
  EXPECT_EQ(FilesIn(folder.path()), (std::set<std::string>{"rank0.png", "rank4.png"}));
}

}  // namespace
}  // namespace fv
