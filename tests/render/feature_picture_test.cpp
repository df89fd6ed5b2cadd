#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <tuple>

#include "picture_check.h"
#include "render/board_picture.h"
#include "render/feature_picture.h"
#include "render/geometry.h"

namespace fv {
namespace {

using testing::Saved;

cv::Mat EmptyBoard() {
  cv::Mat board;
  DrawPosition(Position{}, testing::MarkedPieces(), board);
  return board;
}

cv::Mat Feature(MarkValue value, int king, int first, int second) {
  cv::Mat picture = EmptyBoard();
  DrawFeature(picture, value, king, first, second);
  return Saved(picture);
}

TEST(LocationPoint, SquaresAreCellMiddlesAndHandSlotsLieOnTheHandRows) {
  const std::tuple<int, int, int> cases[] = {
      {0, 72, 105},   {8, 432, 105}, {72, 72, 505},  {80, 432, 505}, {40, 252, 305},
      {76, 252, 505}, {81, 35, 602}, {87, 305, 602}, {88, 35, 32},   {94, 305, 32},
  };
  for (const auto& [location, x, y] : cases)
    EXPECT_EQ(LocationPoint(location), cv::Point(x, y)) << location;
  for (int location : {-1, 95, 1000}) EXPECT_THROW(LocationPoint(location), std::out_of_range);
  cv::Mat picture = EmptyBoard();  // a feature with a location outside the cells
  EXPECT_THROW(DrawFeature(picture, {0, false}, 76, 95, 40), std::out_of_range);
  EXPECT_THROW(DrawFeature(picture, {0, false}, -1, 0, 40), std::out_of_range);
}

TEST(MarkColour, SignAndSizeOfTheShownValue) {
  const std::tuple<MarkValue, cv::Scalar, const char*> cases[] = {
      {{0, false}, {128, 0, 0}, "+0"},       {{0, true}, {0, 0, 128}, "+0"},
      {{1, false}, {129, 0, 0}, "+1"},       {{-1, true}, {0, 0, 129}, "-1"},
      {{126, false}, {254, 0, 0}, "+126"},   {{127, false}, {255, 0, 0}, "+127"},
      {{-127, true}, {0, 0, 255}, "-127"},   {{156, false}, {255, 0, 0}, "+156"},
      {{-1024, true}, {0, 0, 255}, "-1024"}, {{-2147483647 - 1, true}, {0, 0, 255}, "-2147483648"},
  };
  for (const auto& [value, colour, text] : cases)
    EXPECT_EQ(std::pair(MarkColour(value), MarkText(value)), std::pair(colour, std::string(text)));
}

// King on 5九 (76) with pieces on 1一 (8) and Gote's KA in hand (93), or
// twice the piece on 5五 (40): a pair of a piece with itself marks two points.
// The colours of other values are MarkColour's, pinned above.
TEST(DrawFeature, CirclesAndLinesInTheMarkColour) {
  const std::tuple<MarkValue, cv::Vec3b, int, int> cases[] = {{{-1024, true}, {0, 0, 255}, 8, 93},
                                                              {{20, false}, {148, 0, 0}, 40, 40}};
  for (const auto& [value, colour, first, second] : cases) {
    const cv::Mat picture = Feature(value, 76, first, second);
    for (int location : {76, first, second}) {
      const cv::Point centre = LocationPoint(location);
      EXPECT_EQ(picture.at<cv::Vec3b>(centre), colour) << value.shown << " at " << location;
      EXPECT_EQ(picture.at<cv::Vec3b>(centre + cv::Point(9, 0)), colour) << "radius 10";
      EXPECT_NE(picture.at<cv::Vec3b>(centre + cv::Point(12, 0)), colour) << "radius 10";
    }
    const cv::Point middle = (LocationPoint(76) + LocationPoint(first)) / 2;
    EXPECT_EQ(picture.at<cv::Vec3b>(middle), colour) << "line king-first";
  }
}

TEST(DrawFeature, ValueTextOutlinedInWhiteAtTheTriangleCentre) {
  // Points (252, 505), (35, 602), (35, 32): origin (57, 399).
  const cv::Mat picture = Feature({-3, true}, 76, 81, 88);
  const cv::Scalar red(0, 0, 131);
  // The text "-3" four times in white at (+-2, +-2), then in red at the origin:
  // wherever that leaves full ink, the picture shows the same.
  cv::Mat alone(640, 640, CV_8UC3, cv::Scalar::all(0));
  for (const cv::Point offset : {cv::Point(2, 2), {-2, -2}, {-2, 2}, {2, -2}, {0, 0}}) {
    const cv::Scalar ink = offset == cv::Point() ? red : cv::Scalar::all(255);
    cv::putText(alone, "-3", cv::Point(57, 399) + offset, cv::FONT_HERSHEY_SIMPLEX, 1.4, ink, 2,
                cv::LINE_AA);
  }
  int compared = 0;
  for (int y = 340; y < 420; ++y)
    for (int x = 40; x < 150; ++x)
      if (alone.at<cv::Vec3b>(y, x) == cv::Vec3b::all(255) ||
          alone.at<cv::Vec3b>(y, x) == cv::Vec3b(0, 0, 131)) {
        ASSERT_EQ(picture.at<cv::Vec3b>(y, x), alone.at<cv::Vec3b>(y, x)) << x << "," << y;
        ++compared;
      }
  EXPECT_GT(compared, 100);
}

TEST(DrawFeature, TextStartingLeftOfThePictureIsClipped) {
  // King on 9九 (72) with both FU hand slots: origin x = (72 + 35 + 35) / 3 - 50 = -3.
  const cv::Mat picture = Feature({-156, true}, 72, 81, 88);
  int coloured = 0;
  for (int y = 330; y < 420; ++y) coloured += picture.at<cv::Vec3b>(y, 0) != cv::Vec3b(0, 0, 0);
  EXPECT_GT(coloured, 0) << "the text reaches the left edge";
}

// The pictures of ranked terms are coded as the leaf board with only the rows
// inside FeatureArea looked at, so no mark may change a pixel outside it: each
// location as the king, with pieces spread over the board and both hands, the
// short and the longest texts, on a background that no mark colour matches.
TEST(FeatureArea, NoMarkChangesAPixelOutsideIt) {
  const cv::Mat background(PictureSize, PictureSize, CV_8UC3, cv::Scalar(37, 91, 173));
  const MarkValue values[] = {
      {0, false},         {-1, true}, {127, false}, {-1024, true}, {-2147483647 - 1, true},
      {2147483647, false}};
  int marks = 0;
  for (int king = 0; king < LocationCount; ++king) {
    for (const int step : {1, 7, 40}) {
      const int first = (king + step) % LocationCount;
      const int second = (king * 13 + step * 5) % LocationCount;
      const MarkValue value = values[(king + step) % std::size(values)];
      cv::Mat picture = background.clone();
      DrawFeature(picture, value, king, first, second);
      const cv::Rect area = FeatureArea(picture.size(), value, king, first, second);
      cv::Mat changed;
      cv::compare(picture.reshape(1), background.reshape(1), changed, cv::CMP_NE);
      ASSERT_GT(cv::countNonZero(changed), 0);
      changed.reshape(3)(area).setTo(cv::Scalar::all(0));
      ASSERT_EQ(cv::countNonZero(changed), 0) << "king " << king << ", pieces " << first << " and "
                                              << second << ", value " << value.shown;
      ++marks;
    }
  }
  EXPECT_EQ(marks, 3 * LocationCount);
}

}  // namespace
}  // namespace fv
