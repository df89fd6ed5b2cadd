// The weight lookup and the evaluation analysis of any position that the game
// record reader accepts. The record's first two bytes (in lines the reader
// ignores) choose the weight file, the ranking order and the number of ranked
// terms. The weight files are small or sparse: an empty one, an odd-sized
// short one, the full size with weights in its first megabytes only, and a
// longer one.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "eval/analysis.h"
#include "eval/decomposition.h"
#include "eval/weight_file.h"
#include "fuzz/fuzz_support.h"
#include "position/csa_record.h"
#include "io/input_error.h"

namespace {

using namespace fv;

constexpr std::size_t FilledBytes = 4 << 20;

// Bytes of a deterministic mix over the whole 16-bit range, extreme values included.
std::string MixedBytes(std::size_t count) {
  std::string bytes(count, '\0');
  std::uint32_t x = 0x2545F491;
  for (std::size_t i = 0; i < count; ++i) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    bytes[i] = char(i % 7 == 0 ? 0x80 : i % 11 == 0 ? 0x7F : x & 0xFF);
  }
  return bytes;
}

std::string WeightFileOfSize(const std::string& name, std::uint64_t size) {
  const std::string path = fuzz::WriteScratch(name, MixedBytes(std::min<std::uint64_t>(size, FilledBytes)));
  std::filesystem::resize_file(path, size);
  return path;
}

const std::vector<WeightFile>& WeightFiles() {
  static const std::vector<WeightFile> files = [] {
    std::vector<WeightFile> opened;
    for (const std::uint64_t size : {std::uint64_t{0}, std::uint64_t{1001}, WeightFileBytes, WeightFileBytes + 3}) {
      opened.push_back(
          WeightFile::Open(WeightFileOfSize("fv" + std::to_string(opened.size()) + ".bin", size)));
    }
    return opened;
  }();
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const WeightFile& weights = WeightFiles()[data[0] % WeightFiles().size()];
  const int rankCount = data[0] / 4 * 4 - 100;  // -100 to 152
  const RankingOrder order = RankingOrderOf(std::int8_t(data[1]));
  Position pos;
  try {
    pos = ReadCsaFile(fuzz::WriteScratch("game000.csa", fuzz::AsText(data, size))).position;
  } catch (const InputError&) {
    return 0;
  }
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  const LeafWeights leafWeights = ReadLeafWeights(leaf, weights);
  const EvaluationBreakdown breakdown = DecomposeEvaluation(leaf, leafWeights);
  const std::size_t entries = std::size_t(leaf.features.size);
  fuzz::Expect(breakdown.terms.size() == entries * (entries + 1), "two terms for each pair of entries");
  const std::int64_t termSum = std::accumulate(breakdown.terms.begin(), breakdown.terms.end(), std::int64_t{0},
                                               [](std::int64_t sum, const FeatureContribution& term) {
                                                 return sum + term.value;
                                               });
  fuzz::Expect(termSum == breakdown.kppSum, "the terms add up to the KPP sum");
  fuzz::Expect(breakdown.total == (breakdown.material * WeightScale + breakdown.kkpSum + breakdown.kppSum) / WeightScale,
               "the total is the sum of its parts");

  const EvaluationAnalysis analysis = AnalyzeEvaluation(leaf, leafWeights, order, rankCount);
  fuzz::Expect(analysis.ranked.size() == std::size_t(std::clamp<int>(rankCount, 0, int(breakdown.terms.size()))),
               "as many ranked terms as asked for, or all");
  fuzz::Expect(analysis.total == breakdown.total, "the analysis reports the decomposition's total");
  return 0;
}
