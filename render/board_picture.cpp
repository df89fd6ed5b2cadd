#include "render/board_picture.h"

#include <cstdio>
#include <cstdlib>

#include <opencv2/imgproc.hpp>

#include "render/geometry.h"
#include "render/piece_copy.h"

namespace fv {

namespace {

const cv::Scalar Black(0, 0, 0);
const cv::Scalar White(255, 255, 255);
constexpr double CountScale = 0.4;

void DrawBoardPieces(const Position& pos, const PieceImageSet& images, cv::Mat& board) {
  for (int square = 0; square < SquareCount; ++square) {
    const int code = pos.board[square];
    const int kind = std::abs(code);
    if (kind == 0 || kind > PieceKindCount) continue;
    CopyPieceImage(images.pictures[kind], board, BoardLeft + CellWidth * (square % 9),
                   BoardTop + CellHeight * (square / 9), code < 0);
  }
}

void DrawHandPiece(const cv::Mat& picture, int count, int x, int top, bool rotated,
                   cv::Mat& board) {
  if (count <= 0) return;
  CopyPieceImage(picture, board, x, top, rotated);
  char text[8];
  std::snprintf(text, sizeof text, "x%d", count);
  cv::putText(board, text, cv::Point(x + CountOffsetX, top + CountOffsetY),
              cv::FONT_HERSHEY_SIMPLEX, CountScale, White, 1, cv::LINE_AA);
}

void DrawHands(const Position& pos, const PieceImageSet& images, cv::Mat& board) {
  for (const PieceKind kind : HandKinds) {
    const cv::Mat& picture = images.pictures[kind];
    const int x = HandLeft + CellWidth * HandSlot(kind);
    DrawHandPiece(picture, pos.hand[Sente][kind], x, SenteHandTop, false, board);
    DrawHandPiece(picture, pos.hand[Gote][kind], x, GoteHandTop, true, board);
  }
}

void DrawGrid(cv::Mat& board) {
  for (int j = 0; j <= 9; ++j) {
    cv::line(board, {BoardLeft, BoardTop + CellHeight * j}, {BoardRight, BoardTop + CellHeight * j},
             White, 1, cv::LINE_8);
    cv::line(board, {BoardLeft + CellWidth * j, BoardTop}, {BoardLeft + CellWidth * j, BoardBottom},
             White, 1, cv::LINE_8);
  }
}

}  // namespace

void DrawPosition(const Position& pos, const PieceImageSet& images, cv::Mat& board) {
  board.create(PictureSize, PictureSize, CV_8UC3);
  board.setTo(Black);
  DrawBoardPieces(pos, images, board);
  DrawHands(pos, images, board);
  DrawGrid(board);
}

}  // namespace fv
