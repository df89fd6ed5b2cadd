#include "render/png_encoder.h"

#include <cstring>
#include <tuple>

#include <gtest/gtest.h>
#include <zlib.h>
#include <opencv2/imgcodecs.hpp>

#include "picture_check.h"
#include "render/board_picture.h"
#include "render/feature_picture.h"

namespace fv {
namespace {

using testing::Noise;
using testing::SamePixels;

// The PNG file of `picture`, coded with a scratch of its own unless given one.
std::vector<std::uint8_t> Encoded(const cv::Mat& picture, const PngReference* reference = nullptr,
                                  PngScratch* scratch = nullptr) {
  PngScratch own;
  std::vector<std::uint8_t> bytes;
  EncodePng(picture, scratch ? *scratch : own, bytes, reference);
  return bytes;
}

std::uint32_t BigEndian(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Checks what a lenient decoder may pass over: every chunk's CRC-32, and the
// zlib stream (its Adler-32 included), inflated to as many bytes as the
// scanlines take; then that OpenCV's reader sees the same pixels.
void ExpectValid(const std::vector<std::uint8_t>& png, const cv::Mat& picture,
                 const std::string& what) {
  std::vector<std::uint8_t> idat;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndian(&png[at]);
    ASSERT_LE(at + 12 + length, png.size()) << what;
    EXPECT_EQ(crc32(0, &png[at + 4], length + 4), BigEndian(&png[at + 8 + length])) << what;
    if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
      idat.insert(idat.end(), &png[at + 8], &png[at + 8 + length]);
    at += 12 + length;
  }
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(picture.cols);
  std::vector<std::uint8_t> scanlines(stride * picture.rows + 1);
  uLongf size = scanlines.size();
  ASSERT_EQ(uncompress(scanlines.data(), &size, idat.data(), idat.size()), Z_OK) << what;
  ASSERT_EQ(size, stride * picture.rows) << what;
  EXPECT_TRUE(SamePixels(cv::imdecode(png, cv::IMREAD_UNCHANGED), picture)) << what;
}

// Repeats of a 45-pixel tile along the rows, like pieces on a board rank.
cv::Mat RepeatedCells() {
  const cv::Mat tile = Noise(45, 50, 256);
  cv::Mat picture(100, 640, CV_8UC3, cv::Scalar::all(0));
  for (int x = 0; x + 45 <= 640; x += 45) tile.copyTo(picture(cv::Rect(x, 20, 45, 50)));
  return picture;
}

cv::Mat DrawnBoard() {
  Position pos;
  for (int c = 0; c < 9; ++c) pos.board[54 + c] = FU, pos.board[18 + c] = -FU;
  pos.board[76] = OU;
  pos.hand[Sente][FU] = 3;
  cv::Mat board;
  DrawPosition(pos, LoadPieceImages(FV_SOURCE_DIR "/img"), board);
  DrawFeature(board, {-25, true}, 76, 81, 88);
  return board;
}

TEST(EncodePng, DecodesToTheSamePixels) {
  const cv::Mat larger = Noise(200, 100, 4);
  const std::tuple<const char*, cv::Mat> cases[] = {
      {"drawn board", DrawnBoard()},
      {"black", cv::Mat(640, 640, CV_8UC3, cv::Scalar::all(0))},
      {"noise", Noise(640, 640, 256)},
      {"few levels", Noise(640, 640, 3)},
      {"repeated cells", RepeatedCells()},
      {"one pixel", Noise(1, 1, 256)},
      {"one row", Noise(7, 1, 256)},
      {"one column", Noise(1, 9, 2)},
      {"rows longer than the window", Noise(11000, 3, 2)},
      {"part of a larger picture", larger(cv::Rect(30, 20, 90, 50))},
  };
  for (const auto& [what, picture] : cases) ExpectValid(Encoded(picture), picture, what);
  EXPECT_LT(Encoded(DrawnBoard()).size(), 640u * 640 * 3 / 4) << "board pictures are compressed";
}

TEST(EncodePng, RowsTakenOverFromAReferenceDecodeToTheNewPicture) {
  const cv::Mat board = DrawnBoard();
  const PngReference reference = MakePngReference(board);
  const std::tuple<const char*, cv::Rect> cases[] = {
      {"unchanged", {0, 0, 0, 0}},    {"first row", {0, 0, 640, 1}},
      {"last row", {100, 639, 5, 1}}, {"one pixel mid-row", {300, 301, 1, 1}},
      {"a band", {0, 200, 640, 37}},  {"every row", {639, 0, 1, 640}},
  };
  for (const auto& [what, changed] : cases) {
    cv::Mat picture = board.clone();
    picture(changed).setTo(cv::Scalar(1, 2, 3));
    ExpectValid(Encoded(picture, &reference), picture, what);
  }
  // Marks drawn over copies of the board, as the ranked pictures are: each file
  // stays about as small as one coded on its own.
  const std::tuple<MarkValue, int, int, int> terms[] = {{{-25, true}, 76, 81, 88},
                                                        {{127, false}, 4, 0, 80},
                                                        {{0, false}, 76, 40, 41},
                                                        {{-1024, true}, 4, 94, 87},
                                                        {{0, true}, 76, 76, 76}};
  PngScratch scratch;
  for (const auto& [value, king, first, second] : terms) {
    cv::Mat picture = board.clone();
    DrawFeature(picture, value, king, first, second);
    const std::vector<std::uint8_t> over = Encoded(picture, &reference, &scratch);
    ExpectValid(over, picture, "marked copy");
    EXPECT_LT(over.size(), Encoded(picture, nullptr, &scratch).size() * 11 / 10) << value.shown;
    // Told the area the mark may have changed, the encoder compares only that
    // and writes the same file.
    const cv::Rect area = FeatureArea(picture.size(), value, king, first, second);
    std::vector<std::uint8_t> within;
    EncodePng(picture, scratch, within, &reference, &area);
    EXPECT_EQ(within, over) << value.shown;
  }
  // A coded row is matched against the true row above, even where that row's
  // codes are taken over and the scratch still holds an earlier picture's row.
  const cv::Mat base = Noise(64, 40, 256), other = Noise(64, 1, 256);
  const PngReference baseReference = MakePngReference(base);
  cv::Mat earlier = base.clone(), later = base.clone();
  other.copyTo(earlier.row(20));
  other.copyTo(later.row(21));
  PngScratch reused;
  ExpectValid(Encoded(earlier, &baseReference, &reused), earlier, "earlier");
  ExpectValid(Encoded(later, &baseReference, &reused), later, "later");
  // A reference of another size is not used.
  const cv::Mat small = Noise(20, 10, 256);
  ExpectValid(Encoded(small, &reference), small, "small");
}

// The rows of a reference are coded alone, on any number of threads: a
// picture over a reference of itself, or over one coded on several threads,
// is the same file as the picture coded on its own.
TEST(EncodePng, ReferencesCodedOnSeveralThreadsGiveTheSameFiles) {
  const cv::Mat board = DrawnBoard();
  cv::Mat marked = board.clone();
  DrawFeature(marked, {127, false}, 4, 0, 80);
  PngScratch scratch;
  std::vector<std::uint8_t> boardAlone, markedOverOne;
  EncodePng(board, scratch, boardAlone);
  const PngReference one = MakePngReference(board);
  EncodePng(marked, scratch, markedOverOne, &one);
  for (const unsigned threads : {0u, 2u, 3u, 7u, 1000u}) {
    const PngReference reference = MakePngReference(board, threads);
    std::vector<std::uint8_t> boardOver, markedOver;
    EncodePng(board, scratch, boardOver, &reference);
    EncodePng(marked, scratch, markedOver, &reference);
    EXPECT_EQ(boardOver, boardAlone) << threads << " threads";
    EXPECT_EQ(markedOver, markedOverOne) << threads << " threads";
  }
}

// A reference made from a picture handed over keeps its pixels only where
// nothing else shares them: a picture still held elsewhere is copied, so
// drawing on it afterwards leaves the reference as it was.
TEST(EncodePng, ReferenceTakesOverOnlyPicturesNothingElseShares) {
  const cv::Mat board = DrawnBoard();
  PngScratch scratch;
  std::vector<std::uint8_t> alone;
  EncodePng(board, scratch, alone);

  cv::Mat handedOver = board.clone();
  const std::uint8_t* pixels = handedOver.data;
  const PngReference adopted = MakePngReference(std::move(handedOver));
  EXPECT_EQ(adopted.picture.data, pixels);

  cv::Mat kept = board.clone();
  cv::Mat sharer = kept;
  const PngReference copied = MakePngReference(std::move(kept));
  EXPECT_NE(copied.picture.data, sharer.data);
  sharer.setTo(cv::Scalar(9, 9, 9));

  for (const PngReference* reference : {&adopted, &copied}) {
    std::vector<std::uint8_t> over;
    EncodePng(board, scratch, over, reference);
    EXPECT_EQ(over, alone);
  }
}

// Every changed row of a picture coded over a reference, for pictures whose
// rows are narrower than the cell distances repeats are looked for at; and
// rows of noise, each one long run of literals longer than a 16-bit count.
TEST(EncodePng, ChangedRowsOfNarrowAndOfVeryWidePicturesDecodeToTheNewPicture) {
  for (const int width : {1, 7, 100}) {
    const cv::Mat base = Noise(width, 120, 2);
    const PngReference reference = MakePngReference(base);
    for (int y = 0; y < base.rows; y += 3) {
      cv::Mat picture = base.clone();
      picture.row(y).setTo(cv::Scalar(1, 0, 1));
      ExpectValid(Encoded(picture, &reference), picture,
                  "width " + std::to_string(width) + ", row " + std::to_string(y));
    }
  }
  const cv::Mat wide = Noise(65536 / 3 * 2, 3, 256);
  const PngReference reference = MakePngReference(wide);
  for (const int x : {0, wide.cols / 2, wide.cols - 1}) {
    cv::Mat picture = wide.clone();
    picture.at<cv::Vec3b>(1, x) = picture.at<cv::Vec3b>(1, x) + cv::Vec3b(1, 1, 1);
    ExpectValid(Encoded(picture, &reference), picture, "changed at x " + std::to_string(x));
  }
}

TEST(EncodePng, RejectsOtherPictureKinds) {
  for (const cv::Mat& picture : {cv::Mat(4, 4, CV_8UC1), cv::Mat(4, 4, CV_16UC3), cv::Mat()})
    EXPECT_THROW(Encoded(picture), std::invalid_argument);
}

}  // namespace
}  // namespace fv
