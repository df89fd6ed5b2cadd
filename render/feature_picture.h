// Marking one evaluation term on a board picture: its king and its two pieces
// joined by a triangle, a filled circle on each, and the value written near
// the middle, outlined in white.
#pragma once

#include <string>

#include <opencv2/core/mat.hpp>

namespace fv {

// The value a mark shows: the term in evaluation units, and whether the term
// favours Gote (a term that favours Gote by less than one unit shows 0 and is
// still drawn in Gote's colour).
struct MarkValue {
  int shown;
  bool favoursGote;
};

// Blue for a term favouring Sente (or none), red for Gote, at intensity
// 128 + |shown value|, at most 255.
cv::Scalar MarkColour(MarkValue value);

// The shown value with its sign always written: "+0", "+12", "-3".
std::string MarkText(MarkValue value);

// Draws the mark of a term onto `picture`, which already holds the board
// drawing: lines king-first-second-king (thickness 3), circles of radius 10 on
// the three points, then the text four times in white at (+-2, +-2) around its
// origin and once in the mark colour. The text starts 50 pixels left of and its
// baseline 20 below the triangle's centre; what falls outside is clipped.
// Locations must be 0..94 (std::out_of_range otherwise).
void DrawFeature(cv::Mat& picture, MarkValue value, int kingLocation, int firstLocation,
                 int secondLocation);

// The part of a picture of size `picture` outside which DrawFeature with the
// same value and locations changes no pixel (the triangle with its circles,
// and the text with its outline), within the picture.
cv::Rect FeatureArea(cv::Size picture, MarkValue value, int kingLocation, int firstLocation,
                     int secondLocation);

}  // namespace fv
