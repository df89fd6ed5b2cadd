// Layout of a board picture: a 640 x 640 three-channel picture in blue, green,
// red order, the 9 x 9 board in the middle, Gote's hand row above it and
// Sente's below, and the pixel point that marks each location.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include <opencv2/core/types.hpp>

#include "shogi/position.h"

namespace fv {

constexpr int PictureSize = 640;

constexpr int BoardLeft = 50;
constexpr int BoardTop = 80;
constexpr int CellWidth = 45;
constexpr int CellHeight = 50;
constexpr int BoardRight = BoardLeft + 9 * CellWidth;   // 455
constexpr int BoardBottom = BoardTop + 9 * CellHeight;  // 530

constexpr int HandLeft = 10;  // x of hand slot k is HandLeft + CellWidth * k
constexpr int GoteHandTop = 10;
constexpr int SenteHandTop = 580;
constexpr int CountOffsetX = 8;  // "x%d" baseline origin, from the hand picture's corner
constexpr int CountOffsetY = 3;

// Largest piece picture that fits a cell; a Sente hand picture may be at most
// PictureSize - SenteHandTop rows high before it is clipped.
constexpr int PieceWidthLimit = CellWidth;
constexpr int PieceHeightLimit = CellHeight;

struct PixelPoint {
  int x;
  int y;
};

// Point of each location 0..94: the middle of a square's cell (72.5 truncated),
// or a point 25 right of and 22 below a hand picture's corner.
constexpr std::array<PixelPoint, LocationCount> LocationPointTable = [] {
  std::array<PixelPoint, LocationCount> table{};
  for (int s = 0; s < SquareCount; ++s)
    table[s] = {BoardLeft + CellWidth * (s % 9) + 22, BoardTop + CellHeight * (s / 9) + 25};
  for (const PieceKind kind : HandKinds) {
    const int slot = HandSlot(kind);
    table[SenteHandLocation + slot] = {HandLeft + CellWidth * slot + 25, SenteHandTop + 22};
    table[GoteHandLocation + slot] = {HandLeft + CellWidth * slot + 25, GoteHandTop + 22};
  }
  return table;
}();

// Pixel point of a location 0..94; throws std::out_of_range for any other value.
inline cv::Point LocationPoint(int location) {
  if (location < 0 || location >= LocationCount)
    throw std::out_of_range("location " + std::to_string(location) + " is not 0..94");
  const PixelPoint p = LocationPointTable[location];
  return {p.x, p.y};
}

}  // namespace fv
