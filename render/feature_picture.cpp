#include "render/feature_picture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <opencv2/imgproc.hpp>

#include "render/geometry.h"

namespace fv {

namespace {

const cv::Scalar White(255, 255, 255);
constexpr int LineThickness = 3;
constexpr int MarkRadius = 10;
constexpr double TextScale = 1.4;
constexpr int TextThickness = 2;
constexpr int TextLeftOfCentre = 50;
constexpr int TextBelowCentre = 20;

// Where the white copies of the text go, in drawing order.
const cv::Point OutlineOffsets[] = {{2, 2}, {-2, -2}, {-2, 2}, {2, -2}};

// Pixels around the text box (of cv::getTextSize) that a stroke may still
// reach: the outline offsets, half the stroke, the smoothed edge and glyphs
// that overhang their advance, with room to spare.
constexpr int TextMargin = 12;

cv::Point TextOrigin(cv::Point a, cv::Point b, cv::Point c) {
  return {(a.x + b.x + c.x) / 3 - TextLeftOfCentre, (a.y + b.y + c.y) / 3 + TextBelowCentre};
}

void PutMarkText(cv::Mat& picture, const std::string& text, cv::Point origin,
                 const cv::Scalar& colour) {
  cv::putText(picture, text, origin, cv::FONT_HERSHEY_SIMPLEX, TextScale, colour, TextThickness,
              cv::LINE_AA);
}

}  // namespace

cv::Scalar MarkColour(MarkValue value) {
  // Widened first: the magnitude of the most negative int is no int.
  const long long magnitude = std::llabs(static_cast<long long>(value.shown));
  const int intensity = static_cast<int>(std::min(128 + magnitude, 255LL));
  return value.favoursGote ? cv::Scalar(0, 0, intensity) : cv::Scalar(intensity, 0, 0);
}

std::string MarkText(MarkValue value) {
  char text[16];
  std::snprintf(text, sizeof text, "%+d", value.shown);
  return text;
}

void DrawFeature(cv::Mat& picture, MarkValue value, int kingLocation, int firstLocation,
                 int secondLocation) {
  const cv::Point a = LocationPoint(kingLocation);
  const cv::Point b = LocationPoint(firstLocation);
  const cv::Point c = LocationPoint(secondLocation);
  const cv::Scalar colour = MarkColour(value);

  cv::line(picture, a, b, colour, LineThickness, cv::LINE_8);
  cv::line(picture, b, c, colour, LineThickness, cv::LINE_8);
  cv::line(picture, c, a, colour, LineThickness, cv::LINE_8);
  for (const cv::Point& centre : {a, b, c})
    cv::circle(picture, centre, MarkRadius, colour, cv::FILLED, cv::LINE_8);

  const std::string text = MarkText(value);
  const cv::Point origin = TextOrigin(a, b, c);
  for (const cv::Point& offset : OutlineOffsets) PutMarkText(picture, text, origin + offset, White);
  PutMarkText(picture, text, origin, colour);
}

cv::Rect FeatureArea(cv::Size picture, MarkValue value, int kingLocation, int firstLocation,
                     int secondLocation) {
  const cv::Point a = LocationPoint(kingLocation);
  const cv::Point b = LocationPoint(firstLocation);
  const cv::Point c = LocationPoint(secondLocation);
  const int reach = MarkRadius + LineThickness;
  const cv::Point low(std::min({a.x, b.x, c.x}) - reach, std::min({a.y, b.y, c.y}) - reach);
  const cv::Point high(std::max({a.x, b.x, c.x}) + reach + 1,
                       std::max({a.y, b.y, c.y}) + reach + 1);
  int baseline = 0;
  const cv::Size box = cv::getTextSize(MarkText(value), cv::FONT_HERSHEY_SIMPLEX, TextScale,
                                       TextThickness, &baseline);
  const cv::Point origin = TextOrigin(a, b, c);
  const cv::Rect text(origin.x - TextMargin, origin.y - box.height - TextMargin,
                      box.width + 2 * TextMargin, box.height + baseline + 2 * TextMargin);
  return (cv::Rect(low, high) | text) & cv::Rect(cv::Point(0, 0), picture);
}

}  // namespace fv
