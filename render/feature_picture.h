// Marking one evaluation term on a board picture: its king and its two pieces
// joined by a triangle, a filled circle on each, and the value written near
// the middle, outlined in white.
#pragma once

#include <string>

#include <opencv2/core/mat.hpp>

namespace fv {

// Weight units per evaluation unit.
constexpr int WeightUnitsPerValue = 32;

// The term in evaluation units, truncated toward zero (-31..31 give 0).
constexpr int ShownValue(int value) { return value / WeightUnitsPerValue; }

// Blue for value >= 0, red below, at intensity 128 + |shown value|, at most 255.
cv::Scalar MarkColour(int value);

// The shown value with its sign always written: "+0", "+12", "-3".
std::string MarkText(int value);

// Draws the mark of a term onto `picture`, which already holds the board
// drawing: lines king-first-second-king (thickness 3), circles of radius 10 on
// the three points, then the text four times in white at (+-2, +-2) around its
// origin and once in the mark colour. The text starts 50 pixels left of and its
// baseline 20 below the triangle's centre; what falls outside is clipped.
// Locations must be 0..94 (std::out_of_range otherwise).
void DrawFeature(cv::Mat& picture, int value, int kingLocation, int firstLocation, int secondLocation);

}  // namespace fv
