// The pictures that a run leaves in log/, decoded as any PNG reader sees them.
#include <gtest/gtest.h>

#include <memory>

#include <opencv2/imgcodecs.hpp>

#include "position/csa_record.h"
#include "render/board_picture.h"
#include "render/feature_picture.h"
#include "render/piece_images.h"
#include "tests/run/example_case.h"
#include "tests/support/test_files.h"

namespace fv::test {
namespace {

const std::string ExpectedOut = SourceFile("tests/run/expected/example.stdout");
const std::string ExpectedReport = SourceFile("tests/run/expected/example.report.html");

// What the replay engine prints before the transcript proper.
std::string TranscriptAfterEngine(const std::string& out) { return out.substr(out.find('\n') + 1); }

cv::Mat Decoded(const Workspace& workspace, const std::string& path) {
  return cv::imread((workspace.dir() / path).string(), cv::IMREAD_COLOR);
}

bool SamePixels(const cv::Mat& a, const cv::Mat& b) {
  return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

// A position read from record text (three header lines, board and hands).
Position PositionOf(const std::string& record) {
  TempFile file(record);
  Position pos;
  ReadCsaRecord(file.path(), pos);
  return pos;
}

// The leaf as the transcript shows it: the board lines after the PV.
Position LeafOfTranscript(const std::string& out) {
  const std::size_t board = out.find("P1", out.find("\n\n\n"));
  return PositionOf("'\n'\n'\n" + out.substr(board, out.find("KKP=") - board));
}

const PieceImageSet& BundledPieces() {
  static const PieceImageSet pieces = LoadPieceImages(FV_SOURCE_DIR "/img");
  return pieces;
}

std::vector<std::string> PictureNames() {
  std::vector<std::string> names = {"log/init.png", "log/leaf.png"};
  for (int rank = 1; rank <= 150; ++rank) names.push_back(RankPicture(rank));
  return names;
}

// One run of the example, shared by the tests that only look at its output.
class ExamplePictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    workspace_ = std::make_unique<Workspace>();
    workspace_->UseReplayEngine(Record, SearchLog);
    workspace_->UseWeights(ChosenWeights);
    result_ = workspace_->Run();
  }
  static void TearDownTestSuite() { workspace_.reset(); }

  static std::unique_ptr<Workspace> workspace_;
  static RunResult result_;
};
std::unique_ptr<Workspace> ExamplePictures::workspace_;
RunResult ExamplePictures::result_;

TEST_F(ExamplePictures, EveryPictureIsABoardAndNothingElseIsLeft) {
  ASSERT_EQ(result_.status, 0);
  EXPECT_EQ(result_.err, "");
  for (const std::string& name : PictureNames()) {
    const cv::Mat picture = Decoded(*workspace_, name);
    EXPECT_EQ(picture.size(), cv::Size(640, 640)) << name;
    EXPECT_EQ(picture.type(), CV_8UC3) << name;
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(workspace_->dir() / "log")) ++entries;
  // The engine's two logs and explain.json: no temporary file stays.
  EXPECT_EQ(entries, 3 + PictureNames().size());
}

TEST_F(ExamplePictures, InputAndLeafPicturesShowTheirPositions) {
  const cv::Mat init = Decoded(*workspace_, "log/init.png"), leaf = Decoded(*workspace_, "log/leaf.png");
  cv::Mat expected;
  DrawPosition(PositionOf(Record), BundledPieces(), expected);
  EXPECT_TRUE(SamePixels(init, expected));
  DrawPosition(LeafOfTranscript(ExpectedOut), BundledPieces(), expected);
  EXPECT_TRUE(SamePixels(leaf, expected));
}

// Ranks of the example's transcript, their terms and where their three
// circles stand (king first); no value text covers these points.
TEST_F(ExamplePictures, RankedPicturesAreTheLeafWithTheirTermsMarked) {
  struct Case {
    int rank, value, king, first, second;
    cv::Point points[3];
    cv::Vec3b colour;
  };
  const Case cases[] = {
      {4, -960, 5, 33, 15, {{297, 105}, {342, 255}, {342, 155}}, {0, 0, 158}},  // -41OU, -34GI, -32KI
      {5, 500, 75, 83, 81, {{207, 505}, {125, 602}, {35, 602}}, {143, 0, 0}},   // +69OU, +KE*, +FU*
      {6, -33, 5, 93, 93, {{297, 105}, {260, 32}, {260, 32}}, {0, 0, 129}},     // -41OU, -KA* twice
      {7, 0, 75, 81, 81, {{207, 505}, {35, 602}, {35, 602}}, {128, 0, 0}},      // +69OU, +FU* twice
  };
  const cv::Mat leaf = Decoded(*workspace_, "log/leaf.png");
  for (const Case& c : cases) {
    const cv::Mat picture = Decoded(*workspace_, RankPicture(c.rank));
    for (const cv::Point& point : c.points) EXPECT_EQ(picture.at<cv::Vec3b>(point), c.colour) << c.rank;
    cv::Mat expected = leaf.clone();
    DrawFeature(expected, {c.value / 32, c.value < 0}, c.king, c.first, c.second);
    EXPECT_TRUE(SamePixels(picture, expected)) << c.rank;
  }
}

TEST(RunPictures, MissingPiecePictureIsNamedOnceAndDrawnAsATile) {
  Workspace workspace;
  workspace.UseReplayEngine(Record, SearchLog);
  workspace.UseWeights(ChosenWeights);
  fs::remove(workspace.dir() / "img/KA.jpg");
  const RunResult result = workspace.Run();
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "fvexplain: ./img/KA.jpg: cannot open (No such file or directory); a plain tile stands in for it\n");
  EXPECT_EQ(result.out, ExpectedOut);
  EXPECT_EQ(workspace.Read("report.html"), ExpectedReport);
  // Both sides hold a KA in the input position: Sente's upright below the
  // board, Gote's turned above it (their top rows carry the count "x1").
  const cv::Mat init = Decoded(workspace, "log/init.png"), tile = FallbackPieceTile(KA);
  cv::Mat turned;
  cv::flip(tile, turned, -1);
  const cv::Rect belowCount(0, 10, 45, 40);
  EXPECT_TRUE(SamePixels(init(belowCount + cv::Point(235, 580)), tile(belowCount)));
  EXPECT_TRUE(SamePixels(init(belowCount + cv::Point(235, 10)), turned(belowCount)));
  for (const std::string& name : PictureNames()) EXPECT_EQ(Decoded(workspace, name).size(), cv::Size(640, 640));
}

// A folder in the way of one picture, made after the engine has run: that
// picture is named, every other one is written, the report and transcript
// are complete and the status is 1.
TEST(RunPictures, PictureThatCannotBeSavedIsNamedAndTheRunFinishes) {
  for (const std::string blocked : {"log/rank007.png", "log/init.png", "log/leaf.png"}) {
    Workspace workspace;
    workspace.Write("game000.csa", Record);
    workspace.Write("n000.log", SearchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.UseEngineScript("cp game000.csa n000.log log/ && mkdir " + blocked);
    const RunResult result = workspace.Run();
    EXPECT_EQ(result.status, 1) << blocked;
    EXPECT_EQ(result.err, "fvexplain: ./" + blocked + ": cannot create (Is a directory)\n");
    EXPECT_EQ(result.out, TranscriptAfterEngine(ExpectedOut)) << blocked;
    EXPECT_EQ(workspace.Read("report.html"), ExpectedReport) << blocked;
    for (const std::string& name : PictureNames()) {
      if (name == blocked) continue;
      EXPECT_EQ(Decoded(workspace, name).size(), cv::Size(640, 640)) << name;
    }
    EXPECT_TRUE(fs::is_empty(workspace.dir() / blocked)) << blocked;
  }
}

}  // namespace
}  // namespace fv::test
