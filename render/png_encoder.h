// A fast lossless PNG encoder for board pictures.
//
// It writes PNG files (ISO/IEC 15948): the signature, an IHDR chunk (8-bit
// truecolour, no interlace), one IDAT chunk and IEND, each chunk closed by its
// CRC-32. The IDAT holds a zlib stream (RFC 1950: a two-byte header, the data,
// its Adler-32) whose data is one final deflate block (RFC 1951) with the fixed
// Huffman code, over the scanlines with filter type 0 (none).
//
// A board picture is mostly black, crossed by thin lines, with the same piece
// pictures repeated along its rows. The encoder stores the scanlines unfiltered
// in one deflate block with the fixed Huffman code, and finds repeats only at
// a few distances that such pictures have: the pixel to the left, the row
// above, and one to eight board cells to the left (never beyond the row
// above). On a board picture that is about four times faster than OpenCV's
// PNG writer at its default settings, with smaller files (about 130 KB); any
// PNG reader decodes the exact pixels.
//
// Each row is coded from itself and the row above only, so pictures made from
// one board (the ranked terms, each the leaf board with its own mark) take
// over the codes of every row that their mark leaves as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include <opencv2/core/mat.hpp>

namespace fv {

// Bytes left uninitialised when the vector grows. The encoder's working
// buffers are sized for the worst case and written only in part, so the pages
// it never writes are never touched (nor zeroed first).
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <class U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
};
using PngBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

// The bytes [first, end) of a picture's row outside which it equals another
// picture's row (none differ where first >= end).
struct PngRowSpan {
  std::size_t first;
  std::size_t end;
};

// Working memory for one encoder thread, reused from picture to picture.
struct PngScratch {
  PngBytes scanlines;
  PngBytes deflated;
  // After EncodePng with a reference: per row, where the picture's row
  // differs from the reference's (empty without a reference).
  std::vector<PngRowSpan> changedBytes;
};

// One deflate code of a row: a literal byte (the row's byte at `position`), or
// a repeat of `length` bytes from `distance` bytes back, starting `position`
// bytes into the row and `bitOffset` bits into the row's codes.
struct PngCode {
  std::uint32_t position;
  std::uint32_t bitOffset;
  std::uint16_t length;
  std::uint16_t distance;  // 0 for a literal
  // For a literal: literals from this one on (itself included), at most 65,535.
  std::uint16_t literalRun;
};

// Where the codes of one row coded on its own are in its reference.
struct PngRowCode {
  std::size_t firstCode = 0;  // in PngReference::codes
  std::size_t codeCount = 0;
  std::size_t firstBitByte = 0;  // in PngReference::bits, a row's bits start on a byte
  std::size_t bitCount = 0;
  std::uint32_t adler = 1;  // of the row's scanline
};

// A picture coded once, whose unchanged rows other pictures take over. Its
// rows' codes also serve as first guesses for changed rows: each guess is used
// where it still holds for the new row. The rows' scanlines, codes and bits
// are each kept in one store (a few allocations instead of several per row).
struct PngReference {
  cv::Mat picture;
  PngBytes scanlines;  // the filter byte and RGB bytes of each row, row after row
  std::vector<PngRowCode> rows;
  std::vector<PngCode, UninitialisedAllocator<PngCode>> codes;
  PngBytes bits;  // the rows' bits, eight bytes of room after the last
};

// Codes every row of `picture` (8-bit, three channels) for later pictures, on
// `threads` threads (0: one per core); the codes are the same on any number.
PngReference MakePngReference(const cv::Mat& picture, unsigned threads = 1);
// The same, taking over the pixels of `picture` where nothing else shares
// them (the reference then needs no copy of its own).
PngReference MakePngReference(cv::Mat&& picture, unsigned threads = 1);

// Appends the PNG file of `picture` (8-bit, three channels, blue-green-red) to
// `out`; the file holds the same pixels as truecolour RGB. Throws
// std::invalid_argument for any other kind of picture. With a `reference` of
// the same size, rows equal to its rows (and below equal rows) reuse its codes,
// and the other rows reuse those of its codes that still hold. With
// `changedWithin` as well, the caller vouches that the picture equals the
// reference outside that area, and only the pixels inside it are compared.
void EncodePng(const cv::Mat& picture, PngScratch& scratch, std::vector<std::uint8_t>& out,
               const PngReference* reference = nullptr, const cv::Rect* changedWithin = nullptr);

}  // namespace fv
