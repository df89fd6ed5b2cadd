// The pictures of a run: the input board, the leaf board and one picture per
// ranked term, saved in the log folder.
#pragma once

#include <string>
#include <vector>

#include "eval/feature_contribution.h"
#include "render/picture_writer.h"
#include "render/piece_images.h"
#include "render/png_encoder.h"
#include "shogi/position.h"

namespace fv {

// Draws `input` and saves it as ./log/init.png (over one of `spares` where one
// is left). Returns the failure, if any.
std::vector<PictureFailure> WriteInputPicture(const Position& input, const PieceImageSet& pieces,
                                              SpareFiles* spares);

// The leaf board drawn once, with its rows coded for the ranked pictures (on
// every core).
PngReference DrawLeafBoard(const Position& leaf, const PieceImageSet& pieces);

// Saves ./log/leaf.png and, for rank r, ./log/rank%03d.png: the leaf board
// (`leafBoard`) with the mark of ranked[r - 1]. Each ranked picture starts
// from a copy of the board, and all are encoded on every core, each over one
// of `spares` where one is left. Returns the failures in rank order (the leaf
// first).
std::vector<PictureFailure> WriteLeafPictures(const PngReference& leafBoard,
                                              const std::vector<FeatureContribution>& ranked,
                                              SpareFiles* spares);

}  // namespace fv
