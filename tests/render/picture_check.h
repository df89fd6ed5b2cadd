// Helpers for picture tests: test piece pictures that show which way they
// were copied, and the round trip through a written PNG file.
#pragma once

#include <string>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "render/picture_writer.h"
#include "render/piece_images.h"
#include "tests/support/temp_folder.h"

namespace fv::testing {

inline const cv::Vec3b CornerMark(0, 255, 0);

// Kind k: a 45 x 50 tile of its own colour with a 3 x 3 mark in the top-left
// corner starting at pixel (1, 1), so an upright copy shows the mark just
// inside the cell's top-left grid corner and a turned copy at its bottom right.
inline PieceImageSet MarkedPieces() {
  PieceImageSet set;
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    set.pictures[kind] = cv::Mat(50, 45, CV_8UC3, cv::Scalar(10 * kind, 100, 250 - 10 * kind));
    set.pictures[kind](cv::Rect(1, 1, 3, 3)).setTo(cv::Scalar(CornerMark));
  }
  return set;
}

// The picture as a reader of the written PNG file sees it.
inline cv::Mat Saved(const cv::Mat& picture) {
  TempFolder folder;
  const std::string path = folder.File("picture.png");
  EXPECT_TRUE(WritePictures({{path, [&](cv::Mat& p) { picture.copyTo(p); }}}, 1).empty());
  return cv::imread(path, cv::IMREAD_COLOR);
}

// A picture of random levels, 0 to `levels` - 1 in every channel.
inline cv::Mat Noise(int width, int height, int levels = 256, int type = CV_8UC3) {
  cv::Mat picture(height, width, type);
  cv::randu(picture, cv::Scalar::all(0), cv::Scalar::all(levels));
  return picture;
}

inline bool SamePixels(const cv::Mat& a, const cv::Mat& b) {
  return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

}  // namespace fv::testing
