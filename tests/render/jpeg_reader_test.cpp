#include "render/jpeg_reader.h"

#include <fstream>
#include <tuple>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using testing::Noise;
using testing::TempFolder;

// What reads gives OpenCV's reader's pixels, colour or grey. A file cut short
// inside the picture's data reads as a whole picture (libjpeg fills in the
// missing end); one cut inside the headers does not read.
TEST(ReadJpeg, SamePixelsAsOpenCvsReaderOrTheReasonItCannotUseTheFile) {
  TempFolder folder;
  ASSERT_TRUE(cv::imwrite(folder.File("noise.jpg"), Noise(45, 50)));
  ASSERT_TRUE(cv::imwrite(folder.File("grey.jpg"), Noise(20, 30, 256, CV_8UC1)));
  std::ofstream(folder.File("text.jpg")) << "not a picture";
  ASSERT_TRUE(cv::imwrite(folder.File("png.png"), Noise(8, 8)));
  ASSERT_TRUE(cv::imwrite(folder.File("huge.jpg"), cv::Mat(4097, 8, CV_8UC3, cv::Scalar::all(9))));
  const std::string whole = test::FileText(folder.File("noise.jpg"));
  const std::size_t scan = whole.find("\xff\xda");  // start of the picture's data
  ASSERT_LT(300u, scan);
  std::ofstream(folder.File("header.jpg")) << whole.substr(0, 300);
  std::ofstream(folder.File("data.jpg")) << whole.substr(0, scan + 40);

  const std::tuple<std::string, std::string> cases[] = {
      {folder.File("noise.jpg"), ""},
      {folder.File("grey.jpg"), ""},
      {FV_SOURCE_DIR "/img/RY.jpg", ""},
      {FV_SOURCE_DIR "/img/FU.jpg", ""},
      {folder.File("missing.jpg"), "cannot open (No such file or directory)"},
      {folder.File("text.jpg"), "not a readable JPEG picture"},
      {folder.File("png.png"), "not a readable JPEG picture"},
      {folder.File("header.jpg"), "not a readable JPEG picture"},
      {folder.File("huge.jpg"), "picture larger than 4096 x 4096 pixels"},
  };
  for (const auto& [path, problem] : cases) {
    cv::Mat picture(3, 3, CV_8UC3);
    EXPECT_EQ(ReadJpeg(path, picture), problem) << path;
    const cv::Mat opencv = cv::imread(path, cv::IMREAD_COLOR);
    EXPECT_TRUE(problem.empty() ? testing::SamePixels(picture, opencv) : picture.empty()) << path;
  }
  cv::Mat cut;
  EXPECT_EQ(ReadJpeg(folder.File("data.jpg"), cut), "");
  EXPECT_EQ(cut.size(), cv::Size(45, 50));
}

}  // namespace
}  // namespace fv
