// Adler-32, the check value that ends a zlib stream (and so a PNG's data).
#pragma once

#include <cstddef>
#include <cstdint>

namespace fv {

// Adler-32 of `size` bytes, continuing from `adler` (1 for a fresh start).
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler = 1);

}  // namespace fv
