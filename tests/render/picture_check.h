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
inline cv::Mat MarkedPiece(int kind, int width = 45, int height = 50) {
  cv::Mat piece(height, width, CV_8UC3, cv::Scalar(10 * kind, 100, 250 - 10 * kind));
  piece(cv::Rect(1, 1, 3, 3)).setTo(cv::Scalar(CornerMark));
  return piece;
}

inline PieceImageSet MarkedPieces() {
  PieceImageSet set;
  for (int kind = 1; kind <= PieceKindCount; ++kind) set.pictures[kind] = MarkedPiece(kind);
  return set;
}

// The picture as a reader of the written PNG file sees it.
inline cv::Mat Saved(const cv::Mat& picture) {
  TempFolder folder;
  const std::string path = folder.File("picture.png");
  EXPECT_TRUE(WritePictures({{path, [&](cv::Mat& p) { picture.copyTo(p); }}}, 1).empty());
  return cv::imread(path, cv::IMREAD_COLOR);
}

inline bool SamePixels(const cv::Mat& a, const cv::Mat& b) {
  return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

}  // namespace fv::testing
