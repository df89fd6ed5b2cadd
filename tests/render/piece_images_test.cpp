#include "render/piece_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"

namespace fv {
namespace {

using testing::TempFolder;

// Kinds FU to KA are written (grey files too are read as colour), KY damaged;
// the others missing warn once each and get a plain tile.
TEST(LoadPieceImages, ReadsTheFilesInCodeOrderAndPutsPlainTilesForTheRest) {
  TempFolder folder;
  const std::string dir = folder.path().string();
  for (int kind = FU; kind <= KA; ++kind) {
    const cv::Mat picture(50, 40 + kind, kind % 2 ? CV_8UC3 : CV_8UC1, cv::Scalar::all(200));
    ASSERT_TRUE(cv::imwrite(PieceImagePath(dir, kind), picture));
  }
  std::ofstream(PieceImagePath(dir, KY)) << "not a picture";
  Notices notices;
  const PieceImageSet set = LoadPieceImages(dir, &notices);
  ASSERT_EQ(notices.size(), std::size_t(PieceKindCount - KA + 1));  // KY, then HI to RY
  const std::string tile = "; a plain tile stands in for it";
  EXPECT_EQ(notices.front().file + ": " + notices.front().message + "\n" + notices.back().file +
                ": " + notices.back().message,
            dir + "/KY.jpg: not a readable JPEG picture" + tile + "\n" + dir +
                "/RY.jpg: cannot open (No such file or directory)" + tile);
  EXPECT_TRUE(set.pictures[0].empty());
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    const bool read = kind != KY && kind <= KA;
    EXPECT_EQ(set.pictures[kind].size(), cv::Size(read ? 40 + kind : 45, 50)) << kind;
    EXPECT_EQ(set.pictures[kind].type(), CV_8UC3);
    EXPECT_TRUE(read || cv::countNonZero(set.pictures[kind].reshape(1)) > 45 * 50) << "light";
  }
  EXPECT_FALSE(testing::SamePixels(set.pictures[KY], set.pictures[HI])) << "tiles carry names";
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
