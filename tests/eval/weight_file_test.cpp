#include "eval/weight_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <numeric>
#include <tuple>

#include "io/input_error.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

using testing::HashWeight;
using testing::SparseWeightFile;

TEST(WeightFile, ValuesAtTheBlockEdges) {
  // The order inside a block is held by the file-order walk below; here the
  // blocks of both views and the KKP section: block 80 (the Sente view of a king
  // on 80), block 5 (the Gote view of a Sente king on 75), then kkp[80][75] and kkp[5][0].
  SparseWeightFile file;
  const std::uint64_t block80 = 80 * PackedKppBlockSize, block5 = 5 * PackedKppBlockSize;
  const std::pair<std::uint64_t, std::int16_t> values[] = {
      {block80, 101},
      {block80 + 1'090'025, -32768},
      {block5 + 1'090'025, 32767},
      {block5 + 1'090'026, 111},
      {(176'584'212 + 2 * ((80 * 81 + 75) * 738 + 0)) / 2, 201},
      {(176'584'212 + 2 * ((5 * 81 + 0) * 738 + 737)) / 2, 202}};
  for (const auto& [index, value] : values) file.Write(index, value);
  const std::vector<std::int16_t> rows = {0, 1475};
  const LeafWeights leaf = file.Open().ReadLeafWeights(80, 75, rows, rows);
  const std::array<int, 6> got = {leaf.sente.Kpp(0, 0),      leaf.sente.Kpp(1475, 1475),
                                  leaf.gote.Kpp(1475, 1475), leaf.gote.Kpp(0, 0),
                                  leaf.sente.kkp[0],         leaf.gote.kkp[737]};
  EXPECT_EQ(got, (std::array<int, 6>{101, -32768, 32767, 0, 201, 202}));
  EXPECT_THROW(leaf.sente.Kpp(2, 2), std::out_of_range);  // row 2 was not read
}

TEST(WeightFile, LookupsFollowTheFileOrderRowByRow) {
  // A file of blocks 0 and 1 only: block 1 read whole gives, walking the file in
  // order row by row, each weight at its pair both ways round.
  const std::uint64_t values = 2 * PackedKppBlockSize;
  SparseWeightFile file(values * 2);
  std::vector<std::int16_t> hashed(values);
  for (std::uint64_t n = 0; n < values; ++n) hashed[n] = HashWeight(n);
  file.Write(0, hashed);
  const WeightFile weights = file.Open();
  std::vector<std::int16_t> all(KppFeatureCount);
  std::iota(all.begin(), all.end(), std::int16_t{0});
  const ViewWeights full = weights.ReadLeafWeights(1, 79, all, {}).sente;
  std::uint64_t at = PackedKppBlockSize;
  for (int i = 0; i < KppFeatureCount; ++i) {
    for (int j = 0; j <= i; ++j, ++at) {
      ASSERT_EQ(full.Kpp(i, j), hashed[at]) << i << ", " << j;
      ASSERT_EQ(full.Kpp(j, i), hashed[at]) << i << ", " << j;
    }
  }
  // Scattered rows read on their own give the same weights.
  const std::vector<std::int16_t> some = {1475, 3, 0, 4, 90, 91, 700, 1200, 5};
  const ViewWeights sparse = weights.ReadLeafWeights(1, 79, some, {}).sente;
  for (const int i : some) {
    for (const int j : some) ASSERT_EQ(sparse.Kpp(i, j), full.Kpp(i, j)) << i << ", " << j;
  }
}

TEST(WeightFile, SizesOtherThanTheLayoutWarnAndReadZeroBeyondTheEnd) {
  // Each file holds 0x1234 as its last KPP weight, kkp[80][80][737] = 3, and
  // 0x5678 where a longer file goes on.
  const std::tuple<const char*, std::uint64_t, int, int, const char*> cases[] = {
      {"exact size", WeightFileBytes, 0x1234, 3, ""},
      {"longer", WeightFileBytes + 2, 0x1234, 3,
       "the file has 186268250 bytes, expected 186268248; the bytes beyond are ignored"},
      {"KPP section only", KkpSectionByteOffset, 0x1234, 0,
       "the file has 176584212 bytes, expected 186268248; the weights beyond its end read as 0"},
      {"ends inside the last KPP weight", KkpSectionByteOffset - 1, 0x34, 0, "has 176584211 bytes"},
  };
  for (const auto& [what, bytes, lastKpp, lastKkp, warning] : cases) {
    SparseWeightFile file(WeightFileBytes + 2);
    file.Kpp(80, 1475, 1475, 0x1234);
    file.Kkp(80, 80, 737, 3);  // the last weight of the file
    file.Write(WeightFileBytes / 2, 0x5678);
    std::filesystem::resize_file(file.path(), bytes);
    const std::vector<std::int16_t> last = {1475};
    const WeightFile opened = file.Open();
    const LeafWeights leaf = opened.ReadLeafWeights(0, 0, last, last);
    // The Gote view of kings on 0 reads block 80.
    EXPECT_EQ((std::pair<int, int>(leaf.gote.Kpp(1475, 1475), leaf.gote.kkp[737])),
              std::pair(lastKpp, lastKkp))
        << what;
    const std::optional<Notice> notice = opened.SizeNotice();
    const std::string text = notice ? notice->file + ": " + notice->message : "";
    const std::string start = *warning ? file.path() + ": warning: " : "";
    EXPECT_EQ(text.substr(0, start.size()), start) << what;
    EXPECT_TRUE(*warning ? text.find(warning) != std::string::npos : text.empty()) << text;
  }
}

TEST(WeightFile, SizeChangeWhileTheEngineRanIsNoticed) {
  const SparseWeightFile file;
  const WeightFile weights = file.Open();
  EXPECT_FALSE(weights.SizeChangeNotice());
  std::filesystem::resize_file(file.path(), 1000);
  EXPECT_EQ(weights.ReadLeafWeights(40, 40, {}, {}).sente.kkp[0], 0);
  ASSERT_TRUE(weights.SizeChangeNotice());
  EXPECT_NE(weights.SizeChangeNotice()->message.find(
                "changed while the engine ran; it now has 1000 bytes"),
            std::string::npos);
}

TEST(WeightFile, UnusableFilesAndRequestsAreRefused) {
  for (const auto& [path, problem] :
       {std::pair{"/nonexistent/fv.bin", ": cannot open (No such file or directory)"},
        {"/tmp", ": is a directory"}})
    EXPECT_EQ(test::ThrownMessage<InputError>([&] { WeightFile::Open(path); }),
              std::string(path) + problem);
  const SparseWeightFile small(10);
  const WeightFile weights = small.Open();
  const std::vector<std::int16_t> bad = {1476};
  EXPECT_THROW(weights.ReadLeafWeights(81, 0, {}, {}), std::out_of_range);
  EXPECT_THROW(weights.ReadLeafWeights(0, 0, bad, {}), std::out_of_range);
}

}  // namespace
}  // namespace fv
