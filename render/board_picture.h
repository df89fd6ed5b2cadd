// Drawing a position as a 640 x 640 board picture.
#pragma once

#include <opencv2/core/mat.hpp>

#include "render/piece_images.h"
#include "shogi/position.h"

namespace fv {

// Draws `pos` into `board`, made 640 x 640 8-bit three-channel if it is not:
// black fill, the board pieces (Gote's turned), the hand rows with their "x%d"
// counts, then the white grid over the pieces' edges. Codes outside -14..14
// and counts below 1 draw nothing.
void DrawPosition(const Position& pos, const PieceImageSet& images, cv::Mat& board);

}  // namespace fv
