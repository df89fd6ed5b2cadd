// Weight files written for tests: temporary sparse files of any size with
// chosen values at chosen value indices, deterministic pseudo-random weights,
// and the explainer's evaluation read from such a file.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "eval/decomposition.h"
#include "eval/weight_file.h"
#include "eval/weight_layout.h"
#include "tests/support/test_files.h"

namespace fv::testing {

// A temporary weight file of `bytes` bytes, all zero (sparse) except the
// values written; removed with the object.
class SparseWeightFile {
 public:
  explicit SparseWeightFile(std::uint64_t bytes = WeightFileBytes) {
    fd_ = ::open(file_.path().c_str(), O_RDWR | O_TRUNC);
    if (fd_ < 0 || ::ftruncate(fd_, off_t(bytes)) != 0)
      throw std::runtime_error("cannot create " + file_.path());
  }
  ~SparseWeightFile() { ::close(fd_); }
  const std::string& path() const { return file_.path(); }
  WeightFile Open() const { return WeightFile::Open(path()); }

  // Writes values little-endian starting at value index `first`.
  void Write(std::uint64_t first, std::span<const std::int16_t> values) {
    std::vector<unsigned char> bytes;
    for (const std::int16_t v : values) {
      bytes.push_back(static_cast<unsigned char>(std::uint16_t(v) & 0xff));
      bytes.push_back(static_cast<unsigned char>(std::uint16_t(v) >> 8));
    }
    if (::pwrite(fd_, bytes.data(), bytes.size(), off_t(first * 2)) != ssize_t(bytes.size()))
      throw std::runtime_error("pwrite failed");
  }
  void Write(std::uint64_t index, std::int16_t value) { Write(index, std::span(&value, 1)); }

  void Kpp(int king, int i, int j, std::int16_t value) { Write(PackedKppIndex(king, i, j), value); }
  void Kkp(int k1, int k2, int f, std::int16_t value) {
    Write(PackedKppValueCount + KkpIndex(k1, k2, f), value);
  }

  // Fills the KPP block of `king` and the KKP row (king, otherKing) with
  // `weight(valueIndex)`.
  void FillView(int king, int otherKing, const std::function<std::int16_t(std::uint64_t)>& weight) {
    for (const auto& [first, count] :
         {std::pair{PackedKppIndex(king, 0, 0), std::uint64_t(PackedKppBlockSize)},
          {PackedKppValueCount + KkpIndex(king, otherKing, 0), std::uint64_t(KkpFeatureCount)}}) {
      std::vector<std::int16_t> values(count);
      for (std::size_t n = 0; n < count; ++n) values[n] = weight(first + n);
      Write(first, values);
    }
  }

 private:
  test::TempFile file_{""};
  int fd_ = -1;
};

// Deterministic pseudo-random weight of a value index, over the whole 16 bits.
inline std::int16_t HashWeight(std::uint64_t index) {
  std::uint64_t x = index * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  return static_cast<std::int16_t>(std::uint16_t(x));
}

// Smaller weights (|w| < 4096), so that sums look like an engine's.
inline std::int16_t ModestWeight(std::uint64_t index) {
  return std::int16_t(HashWeight(index) / 8);
}

// The evaluation of `pos` taken apart with the weights of `file`.
inline EvaluationBreakdown Decompose(const Position& pos, const WeightFile& file) {
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  return DecomposeEvaluation(leaf, ReadLeafWeights(leaf, file));
}

}  // namespace fv::testing
