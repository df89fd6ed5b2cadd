// Copying a piece picture into a board picture, pixel for pixel.
#pragma once

#include <opencv2/core/mat.hpp>

namespace fv {

// Copies every pixel of `piece` (8-bit, three channels) into `board` with the
// piece's top-left pixel at (x, y); `rotated` turns it by 180 degrees, so board
// pixel (x + c, y + r) takes piece pixel (w - 1 - c, h - 1 - r). No blending, no
// transparent colour, no scaling. The part that would fall outside the board is
// left out; an empty piece draws nothing.
void CopyPieceImage(const cv::Mat& piece, cv::Mat& board, int x, int y, bool rotated);

}  // namespace fv
