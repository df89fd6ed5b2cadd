#include "render/adler32.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fv {

namespace {

constexpr std::uint32_t Modulus = 65521;
// Most bytes that keep both sums within 32 bits between two reductions.
constexpr std::size_t BlockBytes = 5552;

void AddBytes(const std::uint8_t* data, std::size_t size, std::uint32_t& a, std::uint32_t& b) {
  for (std::size_t i = 0; i < size; ++i) {
    a += data[i];
    b += a;
  }
}

#if defined(__SSE2__)
std::uint32_t Sum32(__m128i v) {
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
}

// Sixteen bytes at a time: over a chunk, a grows by the bytes' sum and b by
// 16 a plus the bytes weighted 16, 15, ..., 1.
void AddChunks(const std::uint8_t* data, std::size_t chunks, std::uint32_t& a, std::uint32_t& b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i firstWeights = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i lastWeights = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  __m128i sums = zero, priorSums = zero, weighted = zero;
  for (std::size_t c = 0; c < chunks; ++c) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * c));
    priorSums = _mm_add_epi32(priorSums, sums);
    sums = _mm_add_epi32(sums, _mm_sad_epu8(bytes, zero));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), firstWeights));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), lastWeights));
  }
  b += static_cast<std::uint32_t>(16 * chunks) * a + 16 * Sum32(priorSums) + Sum32(weighted);
  a += Sum32(sums);
}
#else
void AddChunks(const std::uint8_t* data, std::size_t chunks, std::uint32_t& a, std::uint32_t& b) {
  AddBytes(data, 16 * chunks, a, b);
}
#endif

}  // namespace

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler) {
  std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
  while (size > 0) {
    const std::size_t block = std::min(size, BlockBytes);
    const std::size_t chunks = block / 16;
    AddChunks(data, chunks, a, b);
    AddBytes(data + 16 * chunks, block - 16 * chunks, a, b);
    a %= Modulus;
    b %= Modulus;
    data += block;
    size -= block;
  }
  return b << 16 | a;
}

}  // namespace fv
