#include "render/piece_copy.h"

#include <algorithm>

#include <opencv2/core.hpp>

namespace fv {

void CopyPieceImage(const cv::Mat& piece, cv::Mat& board, int x, int y, bool rotated) {
  if (piece.empty() || piece.type() != board.type()) return;
  // Piece columns [c0, c1) and rows [r0, r1) land inside the board. Computed in
  // 64 bits so that far-off corners cannot overflow.
  const long long c0 = std::max(0LL, -static_cast<long long>(x));
  const long long r0 = std::max(0LL, -static_cast<long long>(y));
  const long long c1 = std::min<long long>(piece.cols, static_cast<long long>(board.cols) - x);
  const long long r1 = std::min<long long>(piece.rows, static_cast<long long>(board.rows) - y);
  if (c0 >= c1 || r0 >= r1) return;

  const int width = static_cast<int>(c1 - c0);
  const int height = static_cast<int>(r1 - r0);
  cv::Mat target =
      board(cv::Rect(static_cast<int>(x + c0), static_cast<int>(y + r0), width, height));
  if (!rotated) {
    piece(cv::Rect(static_cast<int>(c0), static_cast<int>(r0), width, height)).copyTo(target);
    return;
  }
  // Board column c takes piece column w - 1 - c: the visible columns [c0, c1)
  // come from piece columns [w - c1, w - c0), mirrored; rows likewise.
  const cv::Rect source(static_cast<int>(piece.cols - c1), static_cast<int>(piece.rows - r1), width,
                        height);
  cv::flip(piece(source), target, -1);
}

}  // namespace fv
