#include "eval/weight_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "io/input_error.h"
#include "tests/support/test_files.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

using testing::HashWeight;
using testing::SparseWeightFile;

TEST(WeightFile, ValuesAtTheBlockEdges) {
  SparseWeightFile file;
  {
    // By value position: block 80 (the Sente view of a king on 80), block 5
    // (the Gote view of a Sente king on 75) and the KKP section after them.
    const std::uint64_t block80 = 80 * PackedKppBlockSize, block5 = 5 * PackedKppBlockSize;
    const std::pair<std::uint64_t, std::int16_t> values[] = {
        {block80 + 0, 101},        {block80 + 1, 102},         {block80 + 2, 103},
        {block80 + 700 * 703 / 2, 104}, {block80 + 1'088'550, 105}, {block80 + 1'090'025, -32768},
        {block5 + 1'090'025, 32767},    {block5 + 1'090'026, 111},
        {(176'584'212 + 2 * ((80 * 81 + 75) * 738 + 0)) / 2, 201},
        {(176'584'212 + 2 * ((5 * 81 + 0) * 738 + 737)) / 2, 202}};
    for (const auto& [index, value] : values) file.Write(index, value);
  }
  const std::vector<std::int16_t> rows = {0, 1, 700, 1475};
  const LeafWeights leaf = file.Open().ReadLeafWeights(80, 75, rows, rows);
  struct Case { int i, j; std::int16_t sente; };
  for (const Case c : {Case{0, 0, 101}, {1, 0, 102}, {0, 1, 102}, {1, 1, 103}, {700, 700, 104},
                       {1475, 0, 105}, {0, 1475, 105}, {1475, 1475, -32768}}) {
    EXPECT_EQ(leaf.sente.Kpp(c.i, c.j), c.sente) << c.i << ", " << c.j;
  }
  EXPECT_EQ(leaf.gote.Kpp(1475, 1475), 32767);
  EXPECT_EQ(leaf.gote.Kpp(0, 0), 0);
  EXPECT_EQ(leaf.sente.kkp[0], 201);
  EXPECT_EQ(leaf.gote.kkp[737], 202);
  EXPECT_THROW(leaf.sente.Kpp(2, 2), std::out_of_range);  // row 2 was not read
}

TEST(WeightFile, LookupsMatchTheExpandedSquareTable) {
  // A file of blocks 0 and 1 only; the square table of block 1 is built by
  // walking it in file order, row by row.
  const std::uint64_t values = 2 * PackedKppBlockSize;
  SparseWeightFile file(values * 2);
  {
    std::vector<std::int16_t> all(values);
    for (std::uint64_t n = 0; n < values; ++n) all[n] = HashWeight(n);
    file.Write(0, all);
  }
  std::vector<std::int16_t> square(std::size_t(KppFeatureCount) * KppFeatureCount);
  std::uint64_t at = PackedKppBlockSize;
  for (int i = 0; i < KppFeatureCount; ++i) {
    for (int j = 0; j <= i; ++j, ++at) {
      square[std::size_t(i) * KppFeatureCount + j] = HashWeight(at);
      square[std::size_t(j) * KppFeatureCount + i] = HashWeight(at);
    }
  }
  auto expected = [&](int i, int j) { return square[std::size_t(i) * KppFeatureCount + j]; };

  const WeightFile weights = file.Open();
  std::vector<std::int16_t> all(KppFeatureCount);
  std::iota(all.begin(), all.end(), std::int16_t{0});
  const ViewWeights full = weights.ReadLeafWeights(1, 79, all, {}).sente;
  for (int i = 0; i < KppFeatureCount; ++i) {
    ASSERT_EQ(full.Kpp(i, i), expected(i, i)) << i;
    ASSERT_EQ(full.Kpp(1475, i), expected(1475, i)) << i;
    ASSERT_EQ(full.Kpp(i, 1475), expected(i, 1475)) << i;
  }
  for (int n = 0; n < 20000; ++n) {
    const int i = std::uint16_t(HashWeight(n)) % KppFeatureCount;
    const int j = std::uint16_t(HashWeight(-n)) % KppFeatureCount;
    ASSERT_EQ(full.Kpp(i, j), expected(i, j)) << i << ", " << j;
  }
  // Scattered rows read on their own give the same weights.
  const std::vector<std::int16_t> some = {1475, 3, 0, 4, 90, 91, 700, 1200, 5};
  const ViewWeights sparse = weights.ReadLeafWeights(1, 79, some, {}).sente;
  for (const int i : some) {
    for (const int j : some) ASSERT_EQ(sparse.Kpp(i, j), expected(i, j)) << i << ", " << j;
  }
}

TEST(WeightFile, SizesOtherThanTheLayoutWarnAndReadZeroBeyondTheEnd) {
  // Each file holds 0x1234 as its last KPP weight, kkp[80][80][737] = 3, and
  // 0x5678 where a longer file goes on.
  struct Case {
    const char* what;
    std::uint64_t bytes;
    std::int16_t lastKpp, lastKkp;
    const char* warning;
  };
  const Case cases[] = {
      {"exact size", WeightFileBytes, 0x1234, 3, ""},
      {"longer", WeightFileBytes + 2, 0x1234, 3,
       "the file has 186268250 bytes, expected 186268248; the bytes beyond are ignored"},
      {"KPP section only", KkpSectionByteOffset, 0x1234, 0,
       "the file has 176584212 bytes, expected 186268248; the weights beyond its end read as 0"},
      {"ends inside the last KPP weight", KkpSectionByteOffset - 1, 0x34, 0, "has 176584211 bytes"},
  };
  for (const Case& c : cases) {
    SparseWeightFile file(WeightFileBytes + 2);
    file.Kpp(80, 1475, 1475, 0x1234);
    file.Kkp(80, 80, 737, 3);  // the last weight of the file
    file.Write(WeightFileBytes / 2, 0x5678);
    std::filesystem::resize_file(file.path(), c.bytes);
    const std::vector<std::int16_t> last = {1475};
    const WeightFile opened = file.Open();
    const LeafWeights leaf = opened.ReadLeafWeights(0, 0, last, last);
    EXPECT_EQ(leaf.gote.Kpp(1475, 1475), c.lastKpp) << c.what;  // Gote view of kings on 0: block 80
    EXPECT_EQ(leaf.gote.kkp[737], c.lastKkp) << c.what;
    const std::optional<Notice> notice = opened.SizeNotice();
    EXPECT_EQ(notice.has_value(), *c.warning != '\0') << c.what;
    if (!notice) continue;
    EXPECT_EQ(notice->file, file.path());
    EXPECT_EQ(notice->message.rfind("warning: ", 0), 0u) << notice->message;
    EXPECT_NE(notice->message.find(c.warning), std::string::npos) << notice->message;
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
  struct Case { std::string path; const char* problem; };
  for (const Case& c : {Case{"/nonexistent/fv.bin", "cannot open (No such file or directory)"},
                        Case{"/tmp", "is a directory"}}) {
    try {
      WeightFile::Open(c.path);
      ADD_FAILURE() << c.path << " was accepted";
    } catch (const InputError& e) {
      EXPECT_EQ(e.file(), c.path);
      EXPECT_EQ(e.problem(), c.problem);
    }
  }
  const SparseWeightFile small(10);
  const WeightFile weights = small.Open();
  const std::vector<std::int16_t> bad = {1476};
  EXPECT_THROW(weights.ReadLeafWeights(81, 0, {}, {}), std::out_of_range);
  EXPECT_THROW(weights.ReadLeafWeights(0, 0, bad, {}), std::out_of_range);
}

}  // namespace
}  // namespace fv
