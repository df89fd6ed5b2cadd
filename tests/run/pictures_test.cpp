// The pictures that a run leaves in log/, decoded as any PNG reader sees them.
#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <tuple>

#include "position/csa_record.h"
#include "render/board_picture.h"
#include "render/feature_picture.h"
#include "tests/render/picture_check.h"
#include "tests/run/example_case.h"
#include "tests/support/test_files.h"

namespace fv::test {
namespace {

using fv::testing::SamePixels;

cv::Mat Decoded(const Workspace& workspace, const std::string& path) {
  return cv::imread((workspace.dir() / path).string(), cv::IMREAD_COLOR);
}

// Every picture decodes as a board.
void ExpectBoards(const Workspace& workspace) {
  for (const std::string& name : PictureNames())
    EXPECT_EQ(Decoded(workspace, name).size(), cv::Size(640, 640)) << name;
}

// A position read from record text (three header lines, board and hands).
Position PositionOf(const std::string& record) {
  TempFile file(record);
  Position pos;
  ReadCsaRecord(file.path(), pos);
  return pos;
}

TEST(ExamplePictures, InputLeafAndRanksAreDrawnAndNothingElseIsLeft) {
  const Workspace& workspace = Example().workspace;
  ASSERT_EQ(std::to_string(Example().result.status) + Example().result.err, "0");
  ExpectBoards(workspace);
  // The engine's two logs and explain.json: no temporary file stays.
  EXPECT_EQ(std::distance(fs::directory_iterator(workspace.dir() / "log"), {}),
            3 + std::ptrdiff_t(PictureNames().size()));

  // The input and the leaf, the latter as the transcript shows it.
  const PieceImageSet pieces = LoadPieceImages(FV_SOURCE_DIR "/img");
  const cv::Mat leaf = Decoded(workspace, "log/leaf.png");
  cv::Mat expected;
  DrawPosition(PositionOf(Record), pieces, expected);
  EXPECT_TRUE(SamePixels(Decoded(workspace, "log/init.png"), expected));
  const std::size_t board = ExpectedOut.find("P1", ExpectedOut.find("\n\n\n"));
  const std::string leafLines = ExpectedOut.substr(board, ExpectedOut.find("KKP=") - board);
  DrawPosition(PositionOf("'\n'\n'\n" + leafLines), pieces, expected);
  EXPECT_TRUE(SamePixels(leaf, expected));

  // Ranks of the transcript: the leaf marked with their terms (king first).
  const std::tuple<int, int, int, int, int> cases[] = {
      {4, -960, 5, 33, 15},  // -41OU, -34GI, -32KI
      {5, 500, 75, 83, 81},  // +69OU, +KE*, +FU*
      {6, -33, 5, 93, 93},   // -41OU, -KA* twice
      {7, 0, 75, 81, 81},    // +69OU, +FU* twice
  };
  for (const auto& [rank, value, king, first, second] : cases) {
    const cv::Mat picture = Decoded(workspace, RankPicture(rank));
    cv::Mat marked = leaf.clone();
    DrawFeature(marked, {value / 32, value < 0}, king, first, second);
    EXPECT_TRUE(SamePixels(picture, marked)) << rank;
  }
}

TEST(RunPictures, MissingPiecePictureIsNamedOnceAndDrawnAsATile) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  workspace.UseWeights(ChosenWeights);
  fs::remove(workspace.dir() / "img/KA.jpg");
  const RunResult result = workspace.Run();
  EXPECT_EQ(std::to_string(result.status) + result.err + result.out + workspace.Read("report.html"),
            "0fvexplain: ./img/KA.jpg: cannot open (No such file or directory); "
            "a plain tile stands in for it\n" +
                ExpectedOut + ExpectedReport);
  ExpectBoards(workspace);
  // Both sides hold a KA in the input position: Sente's upright below the
  // board, Gote's turned above it (their top rows carry the count "x1").
  const cv::Mat init = Decoded(workspace, "log/init.png"), tile = FallbackPieceTile(KA);
  ASSERT_EQ(init.size(), cv::Size(640, 640));
  cv::Mat turned;
  cv::flip(tile, turned, -1);
  const cv::Rect belowCount(0, 10, 45, 40);
  EXPECT_TRUE(SamePixels(init(belowCount + cv::Point(235, 580)), tile(belowCount)));
  EXPECT_TRUE(SamePixels(init(belowCount + cv::Point(235, 10)), turned(belowCount)));
}

}  // namespace
}  // namespace fv::test
