#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "render/adler32.h"

namespace fv {
namespace {

TEST(Adler32, AgreesWithZlibOnEveryLengthPattern) {
  std::mt19937 random(3);
  std::vector<std::uint8_t> bytes(200000);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  const std::vector<std::uint8_t> ones(20000, 255);
  for (std::size_t size : {0, 1, 15, 16, 17, 31, 5551, 5552, 5553, 5568, 11104, 1921, 65536, 200000}) {
    EXPECT_EQ(Adler32(bytes.data(), size), adler32(1, bytes.data(), static_cast<uInt>(size))) << size;
    if (size <= ones.size()) {
      EXPECT_EQ(Adler32(ones.data(), size), adler32(1, ones.data(), static_cast<uInt>(size))) << "all 255, " << size;
    }
  }
  const std::uint32_t start = Adler32(bytes.data(), 1000);
  EXPECT_EQ(Adler32(bytes.data() + 1000, 7777, start), adler32(1, bytes.data(), 8777));
}

}  // namespace
}  // namespace fv
