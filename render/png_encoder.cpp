#include "render/png_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <thread>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __x86_64__
#include <tmmintrin.h>
#endif

#include <libdeflate.h>
#include <zlib.h>
#include <opencv2/core/mat.hpp>

#include "render/geometry.h"

namespace fv {

namespace {

constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;
constexpr int WindowSize = 32768;
constexpr int CellBytes = CellWidth * 3;  // one board cell of pixels, three bytes each
constexpr int CellCandidates = 8;
constexpr int LiteralRunBeforeSkipping = 8;
constexpr int SkipStep = 4;

// Deflate lengths 3..258 and distances 1..32768: base values and extra bits.
constexpr std::array<int, 29> LengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                            15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                            67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};

constexpr std::uint32_t Reverse(std::uint32_t code, int bits) {
  std::uint32_t reversed = 0;
  for (int i = 0; i < bits; ++i) reversed |= ((code >> i) & 1u) << (bits - 1 - i);
  return reversed;
}

// A run of bits as deflate writes them: least significant bit first.
struct BitCode {
  std::uint64_t bits;
  int length;
};

// The fixed Huffman code of a literal/length symbol 0..287, bit-reversed.
constexpr BitCode FixedSymbolCode(int symbol) {
  if (symbol < 144) return {Reverse(0x30 + symbol, 8), 8};
  if (symbol < 256) return {Reverse(0x190 + symbol - 144, 9), 9};
  if (symbol < 280) return {Reverse(symbol - 256, 7), 7};
  return {Reverse(0xC0 + symbol - 280, 8), 8};
}

constexpr std::array<BitCode, 256> LiteralCodes = [] {
  std::array<BitCode, 256> table{};
  for (int v = 0; v < 256; ++v) table[v] = FixedSymbolCode(v);
  return table;
}();

// Length code with its extra bits, as one run of bits, for lengths 3..258.
constexpr std::array<BitCode, MaxMatch + 1> LengthCodes = [] {
  std::array<BitCode, MaxMatch + 1> table{};
  for (int length = MinMatch; length <= MaxMatch; ++length) {
    int i = 28;
    while (LengthBase[i] > length) --i;
    const BitCode code = FixedSymbolCode(257 + i);
    table[length] = {code.bits | static_cast<std::uint32_t>(length - LengthBase[i]) << code.length,
                     code.length + LengthExtra[i]};
  }
  return table;
}();

// Fixed 5-bit distance code with its extra bits.
BitCode DistanceCode(int distance) {
  int i = 29;
  while (DistanceBase[i] > distance) --i;
  const int extra = i < 4 ? 0 : i / 2 - 1;
  return {Reverse(i, 5) | static_cast<std::uint32_t>(distance - DistanceBase[i]) << 5, 5 + extra};
}

// Bits into the start of `out`, which it makes at least `maxBytes` long up
// front (and never shortens, so a reused buffer is not cleared again), plus
// eight bytes, so that each run of up to 56 bits costs a shift, an or and one
// eight-byte store. Or into memory from `out` on, with room for as many.
class BitWriter {
 public:
  static constexpr int MaxRun = 56;

  BitWriter(PngBytes& out, std::size_t maxBytes) {
    if (out.size() < maxBytes + 8) out.resize(maxBytes + 8);
    out_ = out.data();
  }
  explicit BitWriter(std::uint8_t* out) : out_(out) {}
  void Put(BitCode code) {
    buffer_ |= static_cast<std::uint64_t>(code.bits) << count_;
    count_ += code.length;
    std::memcpy(&out_[at_], &buffer_, 8);
    at_ += static_cast<std::size_t>(count_ >> 3);
    buffer_ >>= count_ & ~7;
    count_ &= 7;
  }
  // Appends bits [from, to) of `bits` (padded with eight bytes after `to`).
  // Once the bits waiting in the buffer are bits of `bits` themselves, each
  // seven bytes of output are one eight-byte load, shift and store.
  void Append(const std::uint8_t* bits, std::size_t from, std::size_t to) {
    if (to - from >= 2 * MaxRun) {
      PutBitsAt(bits, from, MaxRun);
      from += MaxRun;
      // The output from byte at_ on is the bits of `bits` from `source` on;
      // steps of seven bytes keep the shift the same.
      const std::size_t source = from - static_cast<std::size_t>(count_);
      const std::size_t steps = (to - source) / MaxRun;
      const std::uint8_t* in = bits + source / 8;
      std::uint8_t* out = out_ + at_;
      const unsigned shift = source % 8;
      for (std::size_t step = 0; step < steps; ++step, in += MaxRun / 8, out += MaxRun / 8) {
        std::uint64_t word;
        std::memcpy(&word, in, 8);
        word >>= shift;
        std::memcpy(out, &word, 8);
      }
      at_ += steps * (MaxRun / 8);
      buffer_ = 0;
      count_ = 0;
      from = source + steps * MaxRun;
    }
    for (; from < to; from += MaxRun)
      PutBitsAt(bits, from, static_cast<int>(std::min<std::size_t>(to - from, MaxRun)));
  }
  // Pads the last byte with zero bits; returns the number of bytes written.
  std::size_t Finish() {
    if (count_ > 0) out_[at_++] = static_cast<std::uint8_t>(buffer_);
    buffer_ = 0;
    count_ = 0;
    return at_;
  }
  std::size_t written() const { return 8 * at_ + static_cast<std::size_t>(count_); }

 private:
  // Puts `n` (at most MaxRun) bits of `bits` from bit `from` on.
  void PutBitsAt(const std::uint8_t* bits, std::size_t from, int n) {
    std::uint64_t word;
    std::memcpy(&word, bits + from / 8, 8);
    Put(BitCode{(word >> (from % 8)) & ((std::uint64_t{1} << n) - 1), n});
  }

  std::uint8_t* out_;
  std::size_t at_ = 0;
  std::uint64_t buffer_ = 0;
  int count_ = 0;
};

// Most bytes `size` bytes of data take: a literal has at most 9 bits, a
// repeat of 3 or more bytes at most 25, plus the block's header and end.
constexpr std::size_t MaxDeflateBytes(std::size_t size) { return (9 * size + 10) / 8 + 1; }

struct Candidate {
  int distance;
  BitCode code;
};

// Bytes from the start that `a` and `b` have in common, at most `limit`.
// Sixteen bytes at a time where SSE2 is there, then eight; the last eight
// bytes of a longer span are compared as one load that may overlap bytes
// already found equal. Inlined where it is used: it runs for every repeat
// tried and every guess checked.
[[gnu::always_inline]] inline std::size_t MatchLength(const std::uint8_t* a, const std::uint8_t* b,
                                                      std::size_t limit) {
  std::size_t n = 0;
#ifdef __SSE2__
  for (; n + 16 <= limit; n += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + n));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + n));
    const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    if (equal != 0xFFFF) return n + static_cast<std::size_t>(__builtin_ctz(~equal));
  }
#endif
  auto differ = [&](std::size_t at) {
    std::uint64_t x, y;
    std::memcpy(&x, a + at, 8);
    std::memcpy(&y, b + at, 8);
    return x ^ y;
  };
  for (; n + 8 <= limit; n += 8)
    if (const std::uint64_t d = differ(n))
      return n + static_cast<std::size_t>(__builtin_ctzll(d) / 8);
  if (n == limit) return n;
  if (limit >= 8) {
    const std::uint64_t d = differ(limit - 8);
    return d ? limit - 8 + static_cast<std::size_t>(__builtin_ctzll(d) / 8) : limit;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// The first of `length` bytes where `a` and `b` differ and one past the last
// ({length, 0} if none). Mostly they are equal: sixty-four bytes are compared
// at once, and sixteen bytes looked at closer only where any differ.
PngRowSpan BytesChanged(const std::uint8_t* a, const std::uint8_t* b, std::size_t length) {
  PngRowSpan change{length, 0};
  auto differ = [&](std::size_t at, unsigned bits) {
    if (!bits) return;
    change.first = std::min(change.first, at + static_cast<std::size_t>(__builtin_ctz(bits)));
    change.end = at + 32 - static_cast<std::size_t>(__builtin_clz(bits));
  };
  std::size_t n = 0;
#ifdef __SSE2__
  auto equal = [&](std::size_t at) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)));
  };
  auto differing = [&](std::size_t at) {
    return ~static_cast<unsigned>(_mm_movemask_epi8(equal(at))) & 0xFFFF;
  };
  for (; n + 64 <= length; n += 64) {
    const __m128i all = _mm_and_si128(_mm_and_si128(equal(n), equal(n + 16)),
                                      _mm_and_si128(equal(n + 32), equal(n + 48)));
    if (_mm_movemask_epi8(all) == 0xFFFF) continue;
    for (std::size_t at = n; at < n + 64; at += 16) differ(at, differing(at));
  }
  for (; n + 16 <= length; n += 16) differ(n, differing(n));
#endif
  for (; n < length; ++n) differ(n, a[n] != b[n]);
  return change;
}

// Where a row of `rowBytes` bytes (three per pixel) differs from `was`: its
// bytes from the first pixel that differs to the last ({rowBytes, 0} if
// none). Only the pixels [firstPixel, endPixel) are compared: the others are
// known to be the same.
PngRowSpan PixelsChanged(const std::uint8_t* row, const std::uint8_t* was, std::size_t rowBytes,
                         std::size_t firstPixel, std::size_t endPixel) {
  const std::size_t from = 3 * firstPixel;
  const std::size_t length = 3 * endPixel - from;
  if (length == 0 || std::memcmp(row + from, was + from, length) == 0) return {rowBytes, 0};
  const PngRowSpan bytes = BytesChanged(row + from, was + from, length);
  return {from + bytes.first / 3 * 3, from + (bytes.end + 2) / 3 * 3};
}

// The same change in bytes of the row's scanline, which starts with its
// filter byte.
PngRowSpan InScanline(PngRowSpan change) {
  return {change.first + 1, change.first < change.end ? change.end + 1 : 0};
}

// Codes of the same row of another picture (its scanline, its codes and
// their bits), with where this row and the row above differ from that
// picture's.
struct RowGuesses {
  const std::uint8_t* bytes;
  const PngCode* codes;
  std::size_t codeCount;
  const std::uint8_t* bits;
  std::size_t bitCount;
  PngRowSpan row;
  PngRowSpan above;
};

RowGuesses GuessesOf(const PngReference& reference, int y, std::size_t stride, PngRowSpan row,
                     PngRowSpan above) {
  const PngRowCode& was = reference.rows[y];
  return {reference.scanlines.data() + stride * static_cast<std::size_t>(y),
          reference.codes.data() + was.firstCode,
          was.codeCount,
          reference.bits.data() + was.firstBitByte,
          was.bitCount,
          row,
          above};
}

// Distances repeats are looked for at, none beyond one scanline (`stride`).
std::vector<Candidate> Candidates(std::size_t stride) {
  std::vector<Candidate> candidates;
  auto add = [&](std::size_t distance) {
    if (distance <= stride && distance <= WindowSize)
      candidates.push_back({static_cast<int>(distance), DistanceCode(static_cast<int>(distance))});
  };
  add(3);
  add(stride);
  for (std::size_t cells = 1; cells <= CellCandidates; ++cells) add(cells * CellBytes);
  return candidates;
}

// The code of a distance repeats are looked for at.
BitCode DistanceCodeOf(const std::vector<Candidate>& candidates, int distance) {
  for (const Candidate& c : candidates)
    if (c.distance == distance) return c.code;
  return DistanceCode(distance);
}

// The codes of scanline [begin, end) of `data`. Matches end inside the
// scanline and reach back at most one scanline, so the codes depend on this
// scanline and the one above only: a row that is the same in two pictures, with
// the same row above, has the same codes in both. Where one of `guesses` (codes
// of the same row of another picture) starts at the current byte and still
// holds, it is taken without a search, together with the guesses after it that
// hold too. The codes go to `bits` and, if given, to `record` onwards (room for
// one per byte).
class RowDeflater {
 public:
  RowDeflater(const std::uint8_t* data, std::size_t begin, std::size_t end,
              const std::vector<Candidate>& candidates, BitWriter& bits, const RowGuesses* guesses,
              PngCode* record)
      : data_(data),
        begin_(begin),
        end_(end),
        candidates_(candidates),
        bits_(bits),
        guesses_(guesses),
        record_(record),
        firstGuess_(guesses ? guesses->codes : nullptr),
        lastGuess_(guesses ? firstGuess_ + guesses->codeCount : nullptr),
        guess_(firstGuess_),
        at_(begin),
        row_(guesses ? guesses->row : PngRowSpan{}),
        above_(guesses ? guesses->above : PngRowSpan{}) {}

  // Inlined into DeflateRow, so that the row's state can live in registers.
  // Returns the end of the codes recorded.
  [[gnu::always_inline]] PngCode* Run() {
    while (at_ < end_) {
      if (guess_ && (TakeGuessesThatHold() || RepeatInsideCrossedGuess())) continue;
      CodeOnItsOwn();
    }
    return record_;
  }

 private:
  // Whether a guess reads no byte where this row or the row above differs
  // from the guessed rows, so that it holds as it did there: the bytes it
  // codes (for a literal, the run of literals it starts) and those it repeats.
  bool ReadsNoChange(const PngCode& guess) const {
    auto clear = [](std::size_t from, std::size_t to, PngRowSpan change) {
      return to <= change.first || from >= change.end;
    };
    const std::size_t at = guess.position;
    const std::size_t n = guess.distance ? guess.length : guess.literalRun;
    if (!clear(at, at + n, row_)) return false;
    if (guess.distance == 0) return true;
    if (guess.distance <= at) return clear(at - guess.distance, at - guess.distance + n, row_);
    const std::size_t length = end_ - begin_;
    const std::size_t above = length + at - guess.distance;  // the repeat starts in the row above
    return clear(above, std::min(above + n, length), above_) &&
           (above + n <= length || clear(0, above + n - length, row_));
  }

  // Takes the guesses from `guess_` on that still code the bytes from `at` of
  // the new row, advancing both past them. A run of literals holds as far as
  // the new bytes equal the guessed row's; a repeat holds if the new bytes
  // repeat too.
  void TakeHoldingGuesses(std::size_t& at) {
    const std::uint8_t* here = data_ + begin_;
    while (guess_ != lastGuess_) {
      if (ReadsNoChange(*guess_)) {
        const std::size_t n = guess_->distance ? guess_->length : guess_->literalRun;
        at += n;
        guess_ += guess_->distance ? 1 : n;
      } else if (guess_->distance == 0) {
        const std::size_t run = guess_->literalRun;
        const std::size_t same = MatchLength(here + at, guesses_->bytes + at, run);
        at += same;
        guess_ += same;
        if (same < run) return;
      } else if (MatchLength(here + at, here + at - guess_->distance, guess_->length) ==
                 guess_->length) {
        at += guess_->length;
        ++guess_;
      } else {
        return;
      }
    }
  }

  // The guesses from the one at the current byte on, as far as they still
  // hold, copied as bits. False if none starts here or the first fails.
  bool TakeGuessesThatHold() {
    const std::size_t at = at_ - begin_;
    while (guess_ != lastGuess_ && guess_->position < at) ++guess_;
    if (guess_ == lastGuess_ || guess_->position != at) return false;
    const PngCode* taken = guess_;
    std::size_t next = at;
    TakeHoldingGuesses(next);
    if (guess_ == taken) return false;
    const std::size_t toBit = guess_ == lastGuess_ ? guesses_->bitCount : guess_->bitOffset;
    bits_.Append(guesses_->bits, taken->bitOffset, toBit);
    at_ = begin_ + next;
    literals_ = 0;
    return true;
  }

  // Inside a repeat of the guesses that no longer holds as a whole (a mark
  // crosses it), its distance is tried first, up to the repeat's end.
  bool RepeatInsideCrossedGuess() {
    const std::size_t at = at_ - begin_;
    const PngCode* covering = guess_ != lastGuess_ && guess_->position == at ? guess_
                              : guess_ != firstGuess_                        ? guess_ - 1
                                                                             : nullptr;
    if (!covering || !covering->distance || covering->position + covering->length <= at ||
        !RepeatMayStartHere())
      return false;
    const std::size_t length = MatchLength(data_ + at_, data_ + at_ - covering->distance,
                                           covering->position + covering->length - at);
    if (length < MinMatch) return false;
    bits_.Put(LengthCodes[length]);
    bits_.Put(DistanceCodeOf(candidates_, covering->distance));
    at_ += length;
    literals_ = 0;
    return true;
  }

  // The longest repeat at one of the candidate distances, or none. Inside a
  // long run of literals (wood and ink of the piece pictures) repeats are
  // looked for at every fourth byte only: a repeated piece row is found a few
  // bytes late, and the search costs a quarter.
  const Candidate* LongestRepeat(std::size_t& best) {
    best = 0;
    const std::size_t limit = std::min<std::size_t>(MaxMatch, end_ - at_);
    const bool look = literals_ < LiteralRunBeforeSkipping || literals_ % SkipStep == 0;
    // The first three bytes are compared as one four-byte load.
    if (!look || limit < 4 || !RepeatMayStartHere()) return nullptr;
    const Candidate* chosen = nullptr;
    const std::uint8_t* here = data_ + at_;
    std::uint32_t a;
    std::memcpy(&a, here, 4);
    for (const Candidate& c : candidates_) {
      if (static_cast<std::size_t>(c.distance) > at_) continue;
      const std::uint8_t* there = here - c.distance;
      std::uint32_t b;
      std::memcpy(&b, there, 4);
      if ((a ^ b) & 0xFFFFFF) continue;
      const std::size_t length = MatchLength(here, there, limit);
      if (length > best) {
        best = length;
        chosen = &c;
        if (length == limit) break;
      }
    }
    return chosen;
  }

  // False if no repeat of three bytes or more at any of the candidate
  // distances (those of the guesses among them) starts at the current byte.
  // Inside a mark most bytes are literals: after a literal, one comparison of
  // sixteen bytes per candidate tells that for fourteen bytes from the current
  // one on (elsewhere the candidates are tried as before).
  bool RepeatMayStartHere() {
#ifdef __SSE2__
    if (at_ - repeatsFrom_ >= RepeatsSpan) {
      // Not in the top row, whose bytes are not all as far from the start as
      // the distances, nor in the last sixteen bytes of a row.
      if (begin_ == 0 || end_ - at_ < 16 || literals_ == 0) return true;
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + at_));
      unsigned starts = 0;
      for (const Candidate& c : candidates_) {
        const __m128i there =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + at_ - c.distance));
        const auto equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, there)));
        starts |= equal & equal >> 1 & equal >> 2;
      }
      repeats_ = starts;
      repeatsFrom_ = at_;
    }
    return repeats_ >> (at_ - repeatsFrom_) & 1;
#else
    return true;
#endif
  }

  // The current byte coded from this row alone: the longest repeat, else a
  // literal; recorded when the row's codes are kept.
  void CodeOnItsOwn() {
    std::size_t best;
    const Candidate* chosen = LongestRepeat(best);
    if (record_)
      *record_++ = {static_cast<std::uint32_t>(at_ - begin_),
                    static_cast<std::uint32_t>(bits_.written()),
                    static_cast<std::uint16_t>(chosen ? best : 1),
                    static_cast<std::uint16_t>(chosen ? chosen->distance : 0), 0};
    if (chosen) {
      bits_.Put(LengthCodes[best]);
      bits_.Put(chosen->code);
      at_ += best;
      literals_ = 0;
    } else {
      bits_.Put(LiteralCodes[data_[at_]]);
      ++at_;
      ++literals_;
    }
  }

  const std::uint8_t* data_;
  std::size_t begin_, end_;
  const std::vector<Candidate>& candidates_;
  BitWriter& bits_;
  const RowGuesses* guesses_;
  PngCode* record_;
  const PngCode* firstGuess_;
  const PngCode* lastGuess_;
  const PngCode* guess_;  // the first guess not behind the current byte
  std::size_t at_;        // the current byte
  // Where this row and the row above differ from the guessed rows.
  PngRowSpan row_, above_;
  int literals_ = 0;  // length of the current run of literals
  // Bit i: a repeat may start at byte repeatsFrom_ + i, for i below RepeatsSpan.
  static constexpr std::size_t RepeatsSpan = 14;
  std::size_t repeatsFrom_ = end_;
  unsigned repeats_ = 0;
};

// Returns the end of the codes recorded (`record` itself if none).
PngCode* DeflateRow(const std::uint8_t* data, std::size_t begin, std::size_t end,
                    const std::vector<Candidate>& candidates, BitWriter& bits,
                    const RowGuesses* guesses = nullptr, PngCode* record = nullptr) {
  return RowDeflater(data, begin, end, candidates, bits, guesses, record).Run();
}

// Bytes of a reference's bits store that one row may take: the most its codes
// take, and eight bytes that its last store may write beyond them.
std::size_t RowBitRoom(std::size_t stride) { return MaxDeflateBytes(stride) + 8; }

// Codes row `y` of the reference's scanlines on its own into the reference's
// stores, its codes from `firstCode` on and its bits from `firstBitByte` on.
// Returns the row's place in the stores.
PngRowCode EncodeRowAlone(PngReference& reference, int y, std::size_t stride,
                          const std::vector<Candidate>& candidates, std::size_t firstCode,
                          std::size_t firstBitByte) {
  PngRowCode row;
  row.firstCode = firstCode;
  row.firstBitByte = firstBitByte;
  const std::size_t begin = stride * static_cast<std::size_t>(y);
  BitWriter bits(reference.bits.data() + firstBitByte);
  PngCode* const codes = reference.codes.data() + firstCode;
  PngCode* const codesEnd = DeflateRow(reference.scanlines.data(), begin, begin + stride,
                                       candidates, bits, nullptr, codes);
  row.codeCount = static_cast<std::size_t>(codesEnd - codes);
  row.bitCount = bits.written();
  bits.Finish();
  // Counts of literals from each code on; a longer run than the count holds
  // is checked in parts.
  std::uint16_t literals = 0;
  for (PngCode* code = codesEnd; code != codes;) {
    --code;
    if (code->distance != 0)
      literals = 0;
    else if (literals < UINT16_MAX)
      ++literals;
    code->literalRun = literals;
  }
  row.adler = libdeflate_adler32(1, reference.scanlines.data() + begin, stride);
  return row;
}

// Rows of `picture` that take over the codes of the reference's rows: rows
// equal to the reference's, below an equal row (or at the top). Where rows
// differ goes to `changedBytes`. Only the pixels inside `area` are compared.
std::vector<char> RowsTakenOver(const cv::Mat& picture, const PngReference* reference,
                                cv::Rect area, std::vector<PngRowSpan>& changedBytes) {
  std::vector<char> taken(static_cast<std::size_t>(picture.rows), 0);
  changedBytes.clear();
  if (!reference) return taken;
  changedBytes.resize(taken.size());
  const std::size_t rowBytes = picture.elemSize() * static_cast<std::size_t>(picture.cols);
  bool aboveSame = true;
  for (int y = 0; y < picture.rows; ++y) {
    const bool inside = y >= area.y && y < area.y + area.height;
    changedBytes[y] = inside ? PixelsChanged(picture.ptr(y), reference->picture.ptr(y), rowBytes,
                                             static_cast<std::size_t>(area.x),
                                             static_cast<std::size_t>(area.x + area.width))
                             : PngRowSpan{rowBytes, 0};
    const bool same = changedBytes[y].first >= changedBytes[y].end;
    taken[y] = same && aboveSame;
    aboveSame = same;
  }
  return taken;
}

// One final fixed-Huffman deflate block of the scanlines, with their Adler-32.
std::uint32_t Deflate(const cv::Mat& picture, PngScratch& scratch, const PngReference* reference,
                      const std::vector<char>& taken, std::vector<std::uint8_t>& out) {
  const PngBytes& data = scratch.scanlines;
  const std::size_t stride = data.size() / static_cast<std::size_t>(picture.rows);
  const std::vector<Candidate> candidates = Candidates(stride);
  BitWriter bits(scratch.deflated, MaxDeflateBytes(data.size()));
  bits.Put({0b011, 3});  // last block, fixed Huffman code
  std::uint32_t adler = 1;
  PngRowSpan above{stride, 0};  // none above the top row
  for (int y = 0; y < picture.rows; ++y) {
    const std::size_t begin = stride * static_cast<std::size_t>(y);
    const std::uint8_t* row = data.data() + begin;
    std::uint32_t rowAdler;
    if (taken[y]) {
      const PngRowCode& was = reference->rows[y];
      bits.Append(reference->bits.data() + was.firstBitByte, 0, was.bitCount);
      rowAdler = was.adler;
    } else if (reference) {
      const PngRowSpan change = InScanline(scratch.changedBytes[y]);
      const RowGuesses guesses = GuessesOf(*reference, y, stride, change, above);
      DeflateRow(data.data(), begin, begin + stride, candidates, bits, &guesses);
      rowAdler =
          change.first < change.end ? libdeflate_adler32(1, row, stride) : reference->rows[y].adler;
    } else {
      DeflateRow(data.data(), begin, begin + stride, candidates, bits);
      rowAdler = libdeflate_adler32(1, row, stride);
    }
    if (reference) above = InScanline(scratch.changedBytes[y]);
    adler =
        static_cast<std::uint32_t>(adler32_combine(adler, rowAdler, static_cast<z_off_t>(stride)));
  }
  bits.Put(FixedSymbolCode(256));  // end of block
  const std::size_t bytes = bits.Finish();
  out.insert(out.end(), scratch.deflated.begin(),
             scratch.deflated.begin() + static_cast<std::ptrdiff_t>(bytes));
  return adler;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Appends a chunk whose data already stands at out[start + 8 ...]: fills in
// its length and type and appends the CRC of type and data.
void CloseChunk(std::vector<std::uint8_t>& out, std::size_t start, const char* type) {
  const std::uint32_t length = static_cast<std::uint32_t>(out.size() - start - 8);
  for (int i = 0; i < 4; ++i) {
    out[start + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    out[start + 4 + i] = static_cast<std::uint8_t>(type[i]);
  }
  PutBigEndian(out, libdeflate_crc32(0, &out[start + 4], length + 4));
}

std::size_t OpenChunk(std::vector<std::uint8_t>& out) {
  const std::size_t start = out.size();
  out.resize(start + 8);
  return start;
}

// Pixels from blue-green-red order into red-green-blue, five at a time where
// the processor has SSSE3's byte shuffle (loads and stores stay within six
// pixels), the last ones one by one.
#ifdef __x86_64__
[[gnu::target("ssse3")]] std::size_t SwapRedAndBlueBy5(const std::uint8_t* bgr, std::uint8_t* rgb,
                                                       std::size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  std::size_t done = 0;
  for (; done + 6 <= pixels; done += 5) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * done));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 3 * done), _mm_shuffle_epi8(in, order));
  }
  return done;
}
#endif

void SwapRedAndBlue(const std::uint8_t* bgr, std::uint8_t* rgb, std::size_t pixels) {
  std::size_t done = 0;
#ifdef __x86_64__
  static const bool shuffle = __builtin_cpu_supports("ssse3");
  if (shuffle) done = SwapRedAndBlueBy5(bgr, rgb, pixels);
#endif
  for (; done < pixels; ++done) {
    rgb[3 * done] = bgr[3 * done + 2];
    rgb[3 * done + 1] = bgr[3 * done + 1];
    rgb[3 * done + 2] = bgr[3 * done];
  }
}

// Scanlines as PNG stores them: a filter byte (0, none) and the row in RGB
// order. Only the rows that are coded, and the rows above them, are needed.
void FillScanlines(const cv::Mat& picture, const std::vector<char>& taken, PngBytes& scanlines) {
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(picture.cols);
  scanlines.resize(stride * picture.rows);
  auto needed = [&](int y) { return !taken[y] || (y + 1 < picture.rows && !taken[y + 1]); };
  for (int y = 0; y < picture.rows; ++y) {
    if (!needed(y)) continue;
    scanlines[stride * y] = 0;
    SwapRedAndBlue(picture.ptr(y), &scanlines[stride * y + 1],
                   static_cast<std::size_t>(picture.cols));
  }
}

bool Compatible(const cv::Mat& picture, const PngReference* reference) {
  return reference && reference->picture.size() == picture.size() &&
         reference->picture.type() == picture.type() &&
         reference->rows.size() == static_cast<std::size_t>(picture.rows);
}

void CheckPicture(const cv::Mat& picture) {
  if (picture.type() != CV_8UC3 || picture.empty())
    throw std::invalid_argument("EncodePng takes a non-empty 8-bit three-channel picture");
}

// Codes every row of the reference's picture into its stores.
void CodeReferenceRows(PngReference& reference, unsigned threads) {
  const cv::Mat& picture = reference.picture;
  const std::size_t rows = static_cast<std::size_t>(picture.rows);
  FillScanlines(picture, std::vector<char>(rows, 0), reference.scanlines);
  const std::size_t stride = reference.scanlines.size() / rows;
  const std::vector<Candidate> candidates = Candidates(stride);
  reference.rows.resize(rows);
  // Room for the most a row can take (a code per byte): the pages that no
  // code reaches are never touched.
  reference.codes.resize(rows * stride);
  reference.bits.resize(rows * RowBitRoom(stride));
  // Each row is coded on its own, so the threads take a band of rows each.
  // A band's codes and bits follow one another from the room of its first
  // row on, and never reach the next band's.
  auto codeRows = [&](int first, int last) {
    std::size_t code = static_cast<std::size_t>(first) * stride;
    std::size_t bitByte = static_cast<std::size_t>(first) * RowBitRoom(stride);
    for (int y = first; y < last; ++y) {
      const PngRowCode row = EncodeRowAlone(reference, y, stride, candidates, code, bitByte);
      reference.rows[y] = row;
      code += row.codeCount;
      bitByte += (row.bitCount + 7) / 8;
    }
  };
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = std::min<unsigned>(threads, static_cast<unsigned>(picture.rows));
  std::vector<std::thread> helpers;
  int first = 0;
  for (unsigned t = 1; t < threads; ++t) {
    const int last = static_cast<int>(static_cast<long long>(picture.rows) * t / threads);
    try {
      helpers.emplace_back(codeRows, first, last);
    } catch (const std::system_error&) {
      break;  // no thread to spare: the calling thread codes the rest
    }
    first = last;
  }
  codeRows(first, picture.rows);
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace

PngReference MakePngReference(const cv::Mat& picture, unsigned threads) {
  return MakePngReference(picture.clone(), threads);
}

PngReference MakePngReference(cv::Mat&& picture, unsigned threads) {
  CheckPicture(picture);
  PngReference reference;
  const bool alone = picture.u && picture.u->refcount == 1;
  reference.picture = alone ? std::move(picture) : picture.clone();
  CodeReferenceRows(reference, threads);
  return reference;
}

void EncodePng(const cv::Mat& picture, PngScratch& scratch, std::vector<std::uint8_t>& out,
               const PngReference* reference, const cv::Rect* changedWithin) {
  CheckPicture(picture);
  if (!Compatible(picture, reference)) reference = nullptr;
  const cv::Rect whole(0, 0, picture.cols, picture.rows);
  const cv::Rect area = changedWithin ? *changedWithin & whole : whole;
  const std::vector<char> taken = RowsTakenOver(picture, reference, area, scratch.changedBytes);
  FillScanlines(picture, taken, scratch.scanlines);

  static constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.insert(out.end(), Signature, Signature + 8);

  std::size_t chunk = OpenChunk(out);
  PutBigEndian(out, static_cast<std::uint32_t>(picture.cols));
  PutBigEndian(out, static_cast<std::uint32_t>(picture.rows));
  out.insert(out.end(),
             {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, no filter choice, no interlace
  CloseChunk(out, chunk, "IHDR");

  chunk = OpenChunk(out);
  out.insert(out.end(), {0x78, 0x01});  // zlib header: deflate, 32 KiB window, fastest
  PutBigEndian(out, Deflate(picture, scratch, reference, taken, out));
  CloseChunk(out, chunk, "IDAT");

  chunk = OpenChunk(out);
  CloseChunk(out, chunk, "IEND");
}

}  // namespace fv
