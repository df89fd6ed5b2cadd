// The weight lookup and the evaluation analysis of any position that the game
// record reader accepts, held against the engine's evaluator, which reads the
// same weight file its own way and sums the terms by its own path. The
// record's first two bytes (in lines the reader ignores) choose the weight
// file, the ranking order and the number of ranked terms. The weight files are
// small or sparse: an empty one, an odd-sized short one, the full size with
// weights in a few regions only, and a longer one.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

#include "engine/evaluator.h"
#include "engine/weights.h"
#include "eval/analysis.h"
#include "eval/decomposition.h"
#include "eval/weight_file.h"
#include "fuzz/fuzz_support.h"
#include "io/input_error.h"
#include "position/csa_record.h"
#include "shogi/board.h"

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

// Mixed bytes in the regions that most positions read: the file's first
// megabytes, the KPP block of a king on 59 (both views' block when the kings
// stand on 59 and 51) and the KKP section; the rest stays zero (sparse).
std::string WeightFileOfSize(const std::string& name, std::uint64_t size) {
  const std::string path =
      fuzz::WriteScratch(name, MixedBytes(std::min<std::uint64_t>(size, FilledBytes)));
  std::filesystem::resize_file(path, size);
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  for (const auto& [offset, bytes] :
       {std::pair{std::uint64_t(WeightBytes * PackedKppIndex(76, 0, 0)),
                  std::uint64_t(WeightBytes * PackedKppBlockSize)},
        {std::uint64_t(KkpSectionByteOffset), std::uint64_t(WeightBytes * KkpValueCount)}}) {
    if (offset >= size) continue;
    const std::string mixed = MixedBytes(std::min(bytes, size - offset));
    file.seekp(std::streamoff(offset)).write(mixed.data(), std::streamsize(mixed.size()));
  }
  return path;
}

// One weight file as the explainer and as the engine open it.
struct OpenedWeights {
  WeightFile file;
  engine::Weights engine;
};

const std::vector<OpenedWeights>& WeightFiles() {
  static const std::vector<OpenedWeights> files = [] {
    std::vector<OpenedWeights> opened;
    for (const std::uint64_t size :
         {std::uint64_t{0}, std::uint64_t{1001}, WeightFileBytes, WeightFileBytes + 3}) {
      const std::string path =
          WeightFileOfSize("fv" + std::to_string(opened.size()) + ".bin", size);
      opened.push_back({WeightFile::Open(path), engine::LoadWeights(path)});
    }
    return opened;
  }();
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const OpenedWeights& weights = WeightFiles()[data[0] % WeightFiles().size()];
  const int rankCount = data[0] / 4 * 4 - 100;  // -100 to 152
  const RankingOrder order = RankingOrderOf(std::int8_t(data[1]));
  Position pos;
  try {
    pos = ReadCsaFile(fuzz::WriteScratch("game000.csa", fuzz::AsText(data, size))).position;
  } catch (const InputError&) {
    return 0;
  }
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  const LeafWeights leafWeights = ReadLeafWeights(leaf, weights.file);
  const EvaluationBreakdown breakdown = DecomposeEvaluation(leaf, leafWeights);
  const std::size_t entries = std::size_t(leaf.features.size);
  fuzz::Expect(breakdown.terms.size() == entries * (entries + 1),
               "two terms for each pair of entries");
  std::int64_t termSum = 0;
  for (const FeatureContribution& term : breakdown.terms) termSum += term.value;
  Board board;
  board.Set(pos, Sente);
  engine::Evaluator evaluator(weights.engine);
  evaluator.Reset(board);
  fuzz::Expect(termSum == evaluator.KppSum() && breakdown.kppSum == evaluator.KppSum(),
               "the terms add up to the engine's KPP sum");
  fuzz::Expect(breakdown.kkpSum == evaluator.KkpSum(), "the engine finds the same KKP sum");
  fuzz::Expect(breakdown.material == evaluator.Material(), "the engine finds the same material");
  fuzz::Expect(breakdown.total == evaluator.SenteTotal(), "the engine finds the same total");

  const EvaluationAnalysis analysis = AnalyzeEvaluation(leaf, leafWeights, order, rankCount);
  const int allTerms = int(breakdown.terms.size());
  fuzz::Expect(analysis.ranked.size() == std::size_t(std::clamp<int>(rankCount, 0, allTerms)),
               "as many ranked terms as asked for, or all");
  fuzz::Expect(analysis.total == breakdown.total, "the analysis reports the decomposition's total");
  return 0;
}
