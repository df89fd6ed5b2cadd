#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <tuple>

#include "picture_check.h"
#include "render/board_picture.h"
#include "render/piece_copy.h"

namespace fv {
namespace {

using testing::CornerMark;
using testing::MarkedPieces;
using testing::SamePixels;
using testing::Saved;

const cv::Vec3b White(255, 255, 255);
const cv::Vec3b Black(0, 0, 0);

bool OnGrid(int x, int y) {
  const bool row = (y - 80) % 50 == 0 && y >= 80 && y <= 530 && x >= 50 && x <= 455;
  const bool column = (x - 50) % 45 == 0 && x >= 50 && x <= 455 && y >= 80 && y <= 530;
  return row || column;
}

cv::Mat Drawn(const Position& pos, const PieceImageSet& images = MarkedPieces()) {
  cv::Mat board;
  DrawPosition(pos, images, board);
  return Saved(board);
}

// Codes outside the piece range draw nothing, and the picture's earlier
// pixels, size and type do not matter.
TEST(DrawPosition, EmptyPositionIsBlackWithTheWhiteGridOnly) {
  Position noPieces;
  noPieces.board[40] = 15, noPieces.board[41] = -128, noPieces.board[42] = 127;
  for (const Position& pos : {Position{}, noPieces})
    for (cv::Mat drawn : {cv::Mat(10, 10, CV_8UC1, {7}), cv::Mat(640, 640, CV_8UC3, {7, 8, 9})}) {
      DrawPosition(pos, MarkedPieces(), drawn);
      const cv::Mat board = Saved(drawn);
      ASSERT_EQ(board.size(), cv::Size(640, 640));
      for (int y = 0; y < board.rows; ++y)
        for (int x = 0; x < board.cols; ++x)
          ASSERT_EQ(board.at<cv::Vec3b>(y, x), OnGrid(x, y) ? White : Black) << x << "," << y;
    }
}

TEST(DrawPosition, SentePiecesUprightGotePiecesTurned) {
  Position pos;
  pos.board[56] = FU;   // file 7 rank 7: cell at (140, 380)
  pos.board[4] = -OU;   // file 5 rank 1: cell at (230, 80)
  pos.board[80] = -KY;  // file 1 rank 9: cell at (410, 480)
  pos.board[20] = -RY;  // promoted pieces use their own picture
  const cv::Mat board = Drawn(pos);
  const PieceImageSet pieces = MarkedPieces();

  const std::tuple<int, int, int, bool> cases[] = {
      {56, 140, 380, false}, {4, 230, 80, true}, {80, 410, 480, true}, {20, 140, 180, true}};
  for (const auto& [square, x, y, turned] : cases) {
    // Inside the grid lines every pixel comes from the piece, upright or turned.
    cv::Mat piece = pieces.pictures[std::abs(pos.board[square])].clone();
    if (turned) cv::flip(piece, piece, -1);
    const cv::Rect inside(1, 1, 44, 49);
    EXPECT_TRUE(SamePixels(board(inside + cv::Point(x, y)), piece(inside))) << square;
    EXPECT_EQ(board.at<cv::Vec3b>(y, x + 20), White) << "grid over the piece's top edge";
  }
}

TEST(DrawPosition, HandRowsShowPicturesAndCounts) {
  Position pos;
  pos.hand[Sente][FU] = 2;   // two FU: picture at (10, 580), "x2" at (18, 583)
  pos.hand[Gote][HI] = 1;    // one HI: turned picture at (280, 10), "x1" at (288, 13)
  pos.hand[Sente][GI] = 12;  // GI at (145, 580), "x12"
  pos.hand[Gote][KE] = -1;   // counts below 1 draw nothing
  const cv::Mat board = Drawn(pos);
  const PieceImageSet pieces = MarkedPieces();

  EXPECT_EQ(board.at<cv::Vec3b>(580 + 20, 10 + 2), pieces.pictures[FU].at<cv::Vec3b>(20, 2));
  EXPECT_EQ(board.at<cv::Vec3b>(582, 12), CornerMark);
  EXPECT_EQ(board.at<cv::Vec3b>(10 + 48, 280 + 43), CornerMark);
  EXPECT_EQ(board.at<cv::Vec3b>(10 + 30, 100 + 20), Black) << "Gote's KE count is -1";
  EXPECT_EQ(board.at<cv::Vec3b>(580 + 30, 55 + 20), Black) << "Sente holds no KY";

  // The count text stands on the top edge of its picture: compare the rows
  // above each picture with the text drawn alone at the same origin.
  for (const auto& [text, x, top] :
       {std::tuple{"x2", 18, 580}, std::tuple{"x1", 288, 10}, std::tuple{"x12", 153, 580}}) {
    cv::Mat alone(640, 640, CV_8UC3, cv::Scalar::all(0));
    cv::putText(alone, text, {x, top + 3}, cv::FONT_HERSHEY_SIMPLEX, 0.4, cv::Scalar::all(255), 1,
                cv::LINE_AA);
    const cv::Rect above(x - 8, top - 10, 45, 10);
    EXPECT_TRUE(SamePixels(board(above), alone(above))) << text;
    EXPECT_GT(cv::countNonZero(alone(above).reshape(1)), 3) << text;
  }
}

// Per-pixel copy that skips board pixels outside the picture. The cases
// include a cell and a hand slot, where DrawPosition copies oversized pictures.
cv::Mat ClippedReference(const cv::Mat& piece, int x, int y, bool turned) {
  cv::Mat board(640, 640, CV_8UC3, cv::Scalar::all(0));
  for (int r = 0; r < piece.rows; ++r)
    for (int c = 0; c < piece.cols; ++c) {
      if (x + c < 0 || x + c >= 640 || y + r < 0 || y + r >= 640) continue;
      board.at<cv::Vec3b>(y + r, x + c) =
          turned ? piece.at<cv::Vec3b>(piece.rows - 1 - r, piece.cols - 1 - c)
                 : piece.at<cv::Vec3b>(r, c);
    }
  return board;
}

TEST(CopyPieceImage, PicturesReachingPastTheEdgeAreClipped) {
  cv::Mat large(300, 260, CV_8UC3);
  cv::randu(large, cv::Scalar::all(0), cv::Scalar::all(256));
  const std::tuple<int, int> cases[] = {{410, 480},  {10, 580}, {-20, -30}, {600, 10},
                                        {-250, 400}, {700, 0},  {0, 1000},  {-400, -400}};
  for (const auto& [x, y] : cases)
    for (bool turned : {false, true}) {
      cv::Mat board(640, 640, CV_8UC3, cv::Scalar::all(0));
      CopyPieceImage(large, board, x, y, turned);
      EXPECT_TRUE(SamePixels(board, ClippedReference(large, x, y, turned)))
          << x << "," << y << (turned ? " turned" : " upright");
    }
}

}  // namespace
}  // namespace fv
