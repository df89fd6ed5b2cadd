#include "run/run_pictures.h"

#include <utility>

#include "eval/weight_layout.h"
#include "render/board_picture.h"
#include "render/feature_picture.h"
#include "render/png_encoder.h"
#include "run/paths.h"

namespace fv {

std::vector<PictureFailure> WriteInputPicture(const Position& input, const PieceImageSet& pieces,
                                              SpareFiles* spares) {
  return WritePictures({{InputPicturePath, [&](cv::Mat& p) { DrawPosition(input, pieces, p); }}}, 0,
                       spares);
}

PngReference DrawLeafBoard(const Position& leaf, const PieceImageSet& pieces) {
  cv::Mat board;
  DrawPosition(leaf, pieces, board);
  // The ranked pictures differ from the leaf only around their marks, so the
  // leaf's coded rows serve all of them.
  return MakePngReference(std::move(board), 1);
}

std::vector<PictureFailure> WriteLeafPictures(const PngReference& leafBoard,
                                              const std::vector<FeatureContribution>& ranked,
                                              SpareFiles* spares) {
  std::vector<PictureJob> jobs;
  jobs.reserve(ranked.size() + 1);
  jobs.push_back({LeafPicturePath, [](cv::Mat&) {}, &leafBoard, true});
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const FeatureContribution& term = ranked[i];
    const MarkValue value{term.value / WeightScale, term.value < 0};
    jobs.push_back({RankPicturePath(static_cast<int>(i) + 1),
                    [&term, value](cv::Mat& p) {
                      DrawFeature(p, value, term.kingLocation, term.firstLocation,
                                  term.secondLocation);
                    },
                    &leafBoard, true,
                    FeatureArea(leafBoard.picture.size(), value, term.kingLocation,
                                term.firstLocation, term.secondLocation)});
  }
  return WritePictures(jobs, 0, spares);
}

}  // namespace fv
