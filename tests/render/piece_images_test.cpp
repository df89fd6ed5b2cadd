#include "render/piece_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"

namespace fv {
namespace {

using testing::TempFolder;

TEST(LoadPieceImages, ReadsTheFourteenFilesInCodeOrder) {
  TempFolder folder;
  for (int kind = 1; kind <= PieceKindCount; ++kind) {  // grey files too are read as colour
    const cv::Mat picture(50, 40 + kind, kind % 2 ? CV_8UC3 : CV_8UC1, cv::Scalar::all(200));
    ASSERT_TRUE(cv::imwrite(PieceImagePath(folder.path().string(), kind), picture));
  }
  Notices notices;
  const PieceImageSet set = LoadPieceImages(folder.path().string(), &notices);
  EXPECT_TRUE(notices.empty());
  EXPECT_TRUE(set.pictures[0].empty());
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    EXPECT_EQ(set.pictures[kind].cols, 40 + kind) << kind;
    EXPECT_EQ(set.pictures[kind].type(), CV_8UC3);
  }
}

TEST(LoadPieceImages, MissingOrDamagedFilesWarnOnceAndGetAPlainTile) {
  TempFolder folder;
  const std::string dir = folder.path().string();
  ASSERT_TRUE(cv::imwrite(PieceImagePath(dir, FU), cv::Mat(50, 45, CV_8UC3, cv::Scalar::all(20))));
  std::ofstream(PieceImagePath(dir, KY)) << "not a picture";
  Notices notices;
  const PieceImageSet set = LoadPieceImages(dir, &notices);
  ASSERT_EQ(notices.size(), 13u);  // KY to RY
  EXPECT_EQ(notices.front().file, dir + "/KY.jpg");
  const std::string tile = "; a plain tile stands in for it";
  EXPECT_EQ(notices.front().message, "not a readable JPEG picture" + tile);
  EXPECT_EQ(notices.back().file, dir + "/RY.jpg");
  EXPECT_EQ(notices.back().message, "cannot open (No such file or directory)" + tile);

  for (int kind = 2; kind <= PieceKindCount; ++kind) {
    EXPECT_EQ(set.pictures[kind].size(), cv::Size(45, 50)) << kind;
    EXPECT_GT(cv::countNonZero(set.pictures[kind].reshape(1)), 45 * 50) << "light, not black";
  }
  EXPECT_FALSE(testing::SamePixels(set.pictures[KY], set.pictures[KE])) << "tiles carry names";
}

TEST(LoadPieceImages, TheShippedPiecesFitACell) {
  const PieceImageSet set = LoadPieceImages(FV_SOURCE_DIR "/img", nullptr);
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    EXPECT_LE(set.pictures[kind].cols, 45) << kind;
    EXPECT_LE(set.pictures[kind].rows, 50) << kind;
    EXPECT_FALSE(testing::SamePixels(set.pictures[kind], FallbackPieceTile(kind))) << kind;
  }
}

}  // namespace
}  // namespace fv
