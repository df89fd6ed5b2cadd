#include "render/jpeg_reader.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"

namespace fv {
namespace {

using testing::TempFolder;

cv::Mat Noise(int rows, int cols, int type) {
  cv::Mat picture(rows, cols, type);
  cv::randu(picture, cv::Scalar::all(0), cv::Scalar::all(256));
  return picture;
}

TEST(ReadJpeg, SamePixelsAsOpenCvsReader) {
  TempFolder folder;
  ASSERT_TRUE(cv::imwrite(folder.File("noise.jpg"), Noise(50, 45, CV_8UC3)));
  ASSERT_TRUE(cv::imwrite(folder.File("grey.jpg"), Noise(30, 20, CV_8UC1)));
  for (const std::string& path : {folder.File("noise.jpg"), folder.File("grey.jpg"),
                                  std::string(FV_SOURCE_DIR "/img/RY.jpg"),
                                  std::string(FV_SOURCE_DIR "/img/FU.jpg")}) {
    cv::Mat picture;
    EXPECT_EQ(ReadJpeg(path, picture), "") << path;
    EXPECT_TRUE(testing::SamePixels(picture, cv::imread(path, cv::IMREAD_COLOR))) << path;
  }
}

// A file cut short inside the picture's data reads as a whole picture (libjpeg
// fills in the missing end); one cut inside the headers does not read.
TEST(ReadJpeg, RefusesWhatItCannotUse) {
  TempFolder folder;
  std::ofstream(folder.File("text.jpg")) << "not a picture";
  ASSERT_TRUE(cv::imwrite(folder.File("png.png"), Noise(8, 8, CV_8UC3)));
  ASSERT_TRUE(cv::imwrite(folder.File("huge.jpg"), cv::Mat(4097, 8, CV_8UC3, cv::Scalar::all(9))));
  ASSERT_TRUE(cv::imwrite(folder.File("data.jpg"), Noise(50, 45, CV_8UC3)));
  std::ifstream written(folder.File("data.jpg"), std::ios::binary);
  const std::string whole(std::istreambuf_iterator<char>(written), {});
  const std::size_t scan = whole.find("\xff\xda");  // start of the picture's data
  ASSERT_LT(300u, scan);
  std::ofstream(folder.File("header.jpg")) << whole.substr(0, 300);
  std::ofstream(folder.File("data.jpg")) << whole.substr(0, scan + 40);

  struct Case { std::string name, problem; };
  const Case cases[] = {
      {"missing.jpg", "cannot open (No such file or directory)"},
      {"text.jpg", "not a readable JPEG picture"},
      {"png.png", "not a readable JPEG picture"},
      {"header.jpg", "not a readable JPEG picture"},
      {"huge.jpg", "picture larger than 4096 x 4096 pixels"},
      {"data.jpg", ""},
  };
  for (const Case& c : cases) {
    cv::Mat picture(3, 3, CV_8UC3);
    EXPECT_EQ(ReadJpeg(folder.File(c.name), picture), c.problem) << c.name;
    EXPECT_EQ(picture.size(), c.problem.empty() ? cv::Size(45, 50) : cv::Size()) << c.name;
  }
}

}  // namespace
}  // namespace fv
