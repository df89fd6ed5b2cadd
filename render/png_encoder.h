// A fast lossless PNG encoder for board pictures.
//
// A board picture is mostly black, crossed by thin lines, with the same piece
// pictures repeated along its rows. The encoder stores the scanlines unfiltered
// in one deflate block with the fixed Huffman code, and finds repeats only at
// a few distances that such pictures have: the pixel to the left, the row
// above, and one to eight board cells to the left. That is about four times
// faster than zlib's fastest level on these pictures, at roughly twice the
// file size; any PNG reader decodes the exact pixels.
#pragma once

#include <cstdint>
#include <vector>

#include <opencv2/core/mat.hpp>

namespace fv {

// Working memory for one encoder thread, reused from picture to picture.
struct PngScratch {
  std::vector<std::uint8_t> scanlines;
};

// Appends the PNG file of `picture` (8-bit, three channels, blue-green-red) to
// `out`; the file holds the same pixels as truecolour RGB. Throws
// std::invalid_argument for any other kind of picture.
void EncodePng(const cv::Mat& picture, PngScratch& scratch, std::vector<std::uint8_t>& out);

}  // namespace fv
