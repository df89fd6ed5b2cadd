#include "render/piece_images.h"

#include <opencv2/imgproc.hpp>

#include "render/geometry.h"
#include "render/jpeg_reader.h"

namespace fv {

namespace {

const cv::Scalar FallbackTileColour(200, 222, 238);
const cv::Scalar FallbackEdgeColour(90, 110, 130);
const cv::Scalar FallbackTextColour(0, 0, 0);

}  // namespace

std::string PieceImagePath(const std::string& directory, int kind) {
  return directory + "/" + std::string(PieceNames[kind - 1]) + ".jpg";
}

cv::Mat FallbackPieceTile(int kind) {
  cv::Mat tile(PieceHeightLimit, PieceWidthLimit, CV_8UC3, FallbackTileColour);
  cv::rectangle(tile, cv::Point(0, 0), cv::Point(tile.cols - 1, tile.rows - 1), FallbackEdgeColour,
                1, cv::LINE_8);
  const std::string name(PieceNames[kind - 1]);
  int baseline = 0;
  const cv::Size text = cv::getTextSize(name, cv::FONT_HERSHEY_SIMPLEX, 0.6, 2, &baseline);
  const cv::Point origin((tile.cols - text.width) / 2, (tile.rows + text.height) / 2);
  cv::putText(tile, name, origin, cv::FONT_HERSHEY_SIMPLEX, 0.6, FallbackTextColour, 2,
              cv::LINE_AA);
  return tile;
}

PieceImageSet LoadPieceImages(const std::string& directory, Notices* notices) {
  PieceImageSet set;
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    const std::string path = PieceImagePath(directory, kind);
    cv::Mat picture;
    const std::string problem = ReadJpeg(path, picture);
    if (!problem.empty()) {
      if (notices) notices->push_back({path, problem + "; a plain tile stands in for it"});
      picture = FallbackPieceTile(kind);
    }
    set.pictures[kind] = std::move(picture);
  }
  return set;
}

}  // namespace fv
