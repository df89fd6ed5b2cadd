#include "render/piece_images.h"

#include <filesystem>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "render/geometry.h"

namespace fv {

namespace {

const cv::Scalar FallbackTileColour(200, 222, 238);
const cv::Scalar FallbackEdgeColour(90, 110, 130);
const cv::Scalar FallbackTextColour(0, 0, 0);

// Reason a picture could not be used, for the warning line.
std::string LoadProblem(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return "no such piece picture";
  return "not a readable picture";
}

cv::Mat ReadColourPicture(const std::string& path) {
  try {
    return cv::imread(path, cv::IMREAD_COLOR);
  } catch (const cv::Exception&) {
    return {};  // a decoder that gives up on a damaged file counts as unreadable
  }
}

}  // namespace

std::string PieceImagePath(const std::string& directory, int kind) {
  return directory + "/" + std::string(PieceNames[kind - 1]) + ".jpg";
}

cv::Mat FallbackPieceTile(int kind) {
  cv::Mat tile(PieceHeightLimit, PieceWidthLimit, CV_8UC3, FallbackTileColour);
  cv::rectangle(tile, cv::Point(0, 0), cv::Point(tile.cols - 1, tile.rows - 1), FallbackEdgeColour, 1, cv::LINE_8);
  const std::string name(PieceNames[kind - 1]);
  int baseline = 0;
  const cv::Size text = cv::getTextSize(name, cv::FONT_HERSHEY_SIMPLEX, 0.6, 2, &baseline);
  const cv::Point origin((tile.cols - text.width) / 2, (tile.rows + text.height) / 2);
  cv::putText(tile, name, origin, cv::FONT_HERSHEY_SIMPLEX, 0.6, FallbackTextColour, 2, cv::LINE_AA);
  return tile;
}

PieceImageSet LoadPieceImages(const std::string& directory, std::FILE* warnings) {
  PieceImageSet set;
  for (int kind = 1; kind <= PieceKindCount; ++kind) {
    const std::string path = PieceImagePath(directory, kind);
    cv::Mat picture = ReadColourPicture(path);
    if (picture.empty()) {
      if (warnings)
        std::fprintf(warnings, "fvexplain: %s: %s; a plain tile stands in for it\n", path.c_str(),
                     LoadProblem(path).c_str());
      picture = FallbackPieceTile(kind);
    }
    set.pictures[kind] = std::move(picture);
  }
  return set;
}

}  // namespace fv
