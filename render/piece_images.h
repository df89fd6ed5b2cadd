// The 14 piece pictures, loaded once per run and shared by every drawing.
#pragma once

#include <array>
#include <opencv2/core/mat.hpp>
#include <string>

#include "position/notice.h"
#include "shogi/position.h"

namespace fv {

// Pictures indexed by piece-code magnitude: entry 0 stays empty, 1..14 hold
// FU..RY, each an 8-bit three-channel picture used upright for Sente and turned
// by 180 degrees for Gote.
struct PieceImageSet {
  std::array<cv::Mat, PieceKindCount + 1> pictures;
};

// File of a piece kind 1..14 in the folder: "<directory>/FU.jpg" .. "RY.jpg".
std::string PieceImagePath(const std::string& directory, int kind);

// Reads the 14 JPEG pictures as colour. A file that is missing or not a
// readable JPEG picture is replaced by a plain tile carrying the piece's
// two-letter name, and named in `notices` (when given).
PieceImageSet LoadPieceImages(const std::string& directory, Notices* notices = nullptr);

// A light cell-sized tile with the kind's two-letter name, for a missing picture.
cv::Mat FallbackPieceTile(int kind);

}  // namespace fv
