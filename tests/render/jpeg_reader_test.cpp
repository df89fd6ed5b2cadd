#include <fstream>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"
#include "render/jpeg_reader.h"

namespace fv {
namespace {

using testing::TempFolder;

TEST(ReadJpeg, SamePixelsAsOpenCvsReader) {
  TempFolder folder;
  cv::Mat noise(50, 45, CV_8UC3), grey(30, 20, CV_8UC1);
  cv::randu(noise, cv::Scalar::all(0), cv::Scalar::all(256));
  cv::randu(grey, cv::Scalar::all(0), cv::Scalar::all(256));
  ASSERT_TRUE(cv::imwrite(folder.File("noise.jpg"), noise));
  ASSERT_TRUE(cv::imwrite(folder.File("grey.jpg"), grey));
  for (const std::string& path : {folder.File("noise.jpg"), folder.File("grey.jpg"),
                                  std::string(FV_SOURCE_DIR "/img/RY.jpg"), std::string(FV_SOURCE_DIR "/img/FU.jpg")}) {
    cv::Mat picture;
    EXPECT_EQ(ReadJpeg(path, picture), "") << path;
    EXPECT_TRUE(testing::SamePixels(picture, cv::imread(path, cv::IMREAD_COLOR))) << path;
  }
}

TEST(ReadJpeg, RefusesWhatItCannotUse) {
  TempFolder folder;
  std::ofstream(folder.File("text.jpg")) << "not a picture";
  cv::Mat png(8, 8, CV_8UC3, cv::Scalar::all(9)), huge(4097, 8, CV_8UC3, cv::Scalar::all(9)), full(50, 45, CV_8UC3);
  ASSERT_TRUE(cv::imwrite(folder.File("png.png"), png));
  ASSERT_TRUE(cv::imwrite(folder.File("huge.jpg"), huge));
  ASSERT_TRUE(cv::imwrite(folder.File("full.jpg"), full));
  std::filesystem::resize_file(folder.File("full.jpg"), 300);  // cut short

  struct Case { std::string path; const char* problem; };
  const Case cases[] = {
      {folder.File("missing.jpg"), "cannot open (No such file or directory)"},
      {folder.File("text.jpg"), "not a readable JPEG picture"},
      {folder.File("png.png"), "not a readable JPEG picture"},
      {folder.File("huge.jpg"), "picture larger than 4096 x 4096 pixels"},
  };
  for (const Case& c : cases) {
    cv::Mat picture(3, 3, CV_8UC3);
    EXPECT_EQ(ReadJpeg(c.path, picture), c.problem) << c.path;
    EXPECT_TRUE(picture.empty()) << c.path;
  }
  cv::Mat cut;
  ReadJpeg(folder.File("full.jpg"), cut);  // a cut-short file: libjpeg fills the missing end, no crash
  EXPECT_TRUE(cut.empty() || cut.size() == cv::Size(45, 50));
}

}  // namespace
}  // namespace fv
