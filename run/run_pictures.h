// The pictures of a run: the input board, the leaf board and one picture per
// ranked term, saved in the log folder.
#pragma once

#include <string>
#include <vector>

#include "eval/feature_contribution.h"
#include "render/picture_writer.h"
#include "render/piece_images.h"
#include "shogi/position.h"

namespace fv {

// Draws `input` and saves it as ./log/init.png (over one of `spares` where one
// is left). Returns the failure, if any.
std::vector<PictureFailure> WriteInputPicture(const Position& input, const PieceImageSet& pieces,
                                              SpareFiles* spares);

// Saves ./log/leaf.png and, for rank r, ./log/rank%03d.png: the leaf board
// with the mark of ranked[r - 1]. The leaf is drawn once; each ranked picture
// starts from a copy of it, and all are encoded on every core. Returns the
// failures in rank order (the leaf first).
std::vector<PictureFailure> WriteLeafPictures(const Position& leaf,
                                              const std::vector<FeatureContribution>& ranked,
                                              const PieceImageSet& pieces, SpareFiles* spares);

}  // namespace fv
