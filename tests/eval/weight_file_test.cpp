#include "eval/weight_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "position/input_error.h"
#include "tests/eval/weight_file_fixture.h"

namespace fv {
namespace {

using testing::HashWeight;
using testing::SparseWeightFile;
using testing::TempDir;

std::vector<std::int16_t> AllFeatures() {
  std::vector<std::int16_t> all(KppFeatureCount);
  std::iota(all.begin(), all.end(), std::int16_t{0});
  return all;
}

std::string ReadAll(std::FILE* stream) {
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) text += char(c);
  return text;
}

TEST(WeightFile, ValuesAtTheBlockEdges) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  {
    SparseWeightFile file(path);
    // Block 80 (Sente view of a king on 80) and block 5 (Gote view of a
    // Sente king on 75), by value position within the block.
    const std::uint64_t block80 = 80 * PackedKppBlockSize;
    const std::uint64_t block5 = 5 * PackedKppBlockSize;
    file.Write(block80 + 0, 101);                  // (0, 0)
    file.Write(block80 + 1, 102);                  // (1, 0) and (0, 1)
    file.Write(block80 + 2, 103);                  // (1, 1)
    file.Write(block80 + 700 * 703 / 2, 104);      // (700, 700): i (i + 3) / 2
    file.Write(block80 + 1'088'550, 105);          // (1475, 0)
    file.Write(block80 + 1'090'025, -32768);       // (1475, 1475), last of block 80
    file.Write(block5 + 1'090'025, 32767);         // last of block 5
    file.Write(block5 + 1'090'026, 111);           // first of block 6: never read
    // kkp[80][75][0] and kkp[5][0][737] at their byte offsets.
    file.Write((176'584'212 + 2 * ((80 * 81 + 75) * 738 + 0)) / 2, 201);
    file.Write((176'584'212 + 2 * ((5 * 81 + 0) * 738 + 737)) / 2, 202);
  }
  const WeightFile weights = WeightFile::Open(path, nullptr);
  const std::vector<std::int16_t> features = {0, 1, 700, 1475};
  const LeafWeights leaf = weights.ReadLeafWeights(80, 75, features, features);
  EXPECT_EQ(leaf.sente.Kpp(0, 0), 101);
  EXPECT_EQ(leaf.sente.Kpp(1, 0), 102);
  EXPECT_EQ(leaf.sente.Kpp(0, 1), 102);
  EXPECT_EQ(leaf.sente.Kpp(1, 1), 103);
  EXPECT_EQ(leaf.sente.Kpp(700, 700), 104);
  EXPECT_EQ(leaf.sente.Kpp(1475, 0), 105);
  EXPECT_EQ(leaf.sente.Kpp(0, 1475), 105);
  EXPECT_EQ(leaf.sente.Kpp(1475, 1475), -32768);
  EXPECT_EQ(leaf.gote.Kpp(1475, 1475), 32767);
  EXPECT_EQ(leaf.gote.Kpp(0, 0), 0);
  EXPECT_EQ(leaf.sente.kkp[0], 201);
  EXPECT_EQ(leaf.gote.kkp[737], 202);
  EXPECT_THROW(leaf.sente.Kpp(2, 2), std::out_of_range);  // row 2 was not read
}

TEST(WeightFile, KkpOfKingSquaresZeroStartsRightAfterTheKppSection) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  {
    SparseWeightFile file(path);
    file.Write(176'584'212 / 2 - 1, 7);  // last KPP value of block 80
    file.Write(176'584'212 / 2, 9);      // kkp[0][0][0]
  }
  const std::vector<std::int16_t> last = {1475};
  const LeafWeights corner = WeightFile::Open(path, nullptr).ReadLeafWeights(0, 0, last, last);
  EXPECT_EQ(corner.sente.kkp[0], 9);
  EXPECT_EQ(corner.gote.Kpp(1475, 1475), 7);  // Gote view of kings on 0: block 80
}

TEST(WeightFile, LookupsMatchTheExpandedSquareTable) {
  // A file holding the blocks of king squares 0 and 1 only: the square table
  // is built by walking block 1 in file order, row by row.
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  const std::uint64_t values = 2 * PackedKppBlockSize;
  {
    SparseWeightFile file(path, values * 2);
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

  const WeightFile weights = WeightFile::Open(path, nullptr);
  const std::vector<std::int16_t> all = AllFeatures();
  const ViewWeights full = weights.ReadLeafWeights(1, 79, all, {}).sente;
  for (int i = 0; i < KppFeatureCount; ++i) {
    ASSERT_EQ(full.Kpp(i, i), expected(i, i)) << i;
    ASSERT_EQ(full.Kpp(1475, i), expected(1475, i)) << i;
    ASSERT_EQ(full.Kpp(i, 1475), expected(i, 1475)) << i;
  }
  for (int n = 0; n < 20000; ++n) {
    const int i = int(std::uint16_t(HashWeight(n)) % KppFeatureCount);
    const int j = int(std::uint16_t(HashWeight(n + 100000)) % KppFeatureCount);
    ASSERT_EQ(full.Kpp(i, j), expected(i, j)) << i << ", " << j;
  }
  // Scattered rows read on their own give the same weights.
  const std::vector<std::int16_t> some = {1475, 3, 0, 4, 90, 91, 700, 1200, 5};
  const ViewWeights sparse = weights.ReadLeafWeights(1, 79, some, {}).sente;
  for (const int i : some) {
    for (const int j : some) ASSERT_EQ(sparse.Kpp(i, j), expected(i, j)) << i << ", " << j;
  }
}

TEST(WeightFile, ShortFileWarnsAndReadsZeroBeyondItsEnd) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  const std::uint64_t kppOnly = KkpSectionByteOffset;
  {
    SparseWeightFile file(path, kppOnly);
    file.Kpp(80, 1475, 1475, -5);
  }
  std::FILE* warnings = std::tmpfile();
  const WeightFile weights = WeightFile::Open(path, warnings);
  EXPECT_EQ(ReadAll(warnings), "fvexplain: " + path +
                                   ": warning: the file has 176584212 bytes, expected 186268248; "
                                   "weights beyond its end read as 0\n");
  const std::vector<std::int16_t> last = {1475};
  const LeafWeights leaf = weights.ReadLeafWeights(80, 0, last, last);
  EXPECT_EQ(leaf.sente.Kpp(1475, 1475), -5);
  for (const std::int16_t w : leaf.sente.kkp) ASSERT_EQ(w, 0);
  std::fclose(warnings);
}

TEST(WeightFile, FileEndingInsideAWeightKeepsItsFirstByte) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  {
    SparseWeightFile file(path, 7);
    file.Write(0, std::vector<std::int16_t>{0x1234, 0x5678, -1});  // 6 bytes, then one more
  }
  // Truncated again to 5 bytes: the third weight has only its low byte 0xff.
  std::filesystem::resize_file(path, 5);
  const std::vector<std::int16_t> rows = {0, 1};
  const ViewWeights view = WeightFile::Open(path, nullptr).ReadLeafWeights(0, 80, rows, {}).sente;
  EXPECT_EQ(view.Kpp(0, 0), 0x1234);
  EXPECT_EQ(view.Kpp(1, 0), 0x5678);
  EXPECT_EQ(view.Kpp(1, 1), 0x00ff);
}

TEST(WeightFile, LongerFileWarnsAndIgnoresTheExtraBytes) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  {
    SparseWeightFile file(path, WeightFileBytes + 2);
    file.Kkp(80, 0, 737, 3);
    file.Write(WeightFileBytes / 2, 99);
  }
  std::FILE* warnings = std::tmpfile();
  const LeafWeights leaf = WeightFile::Open(path, warnings).ReadLeafWeights(80, 0, {}, {});
  EXPECT_NE(ReadAll(warnings).find("186268250 bytes, expected 186268248"), std::string::npos);
  EXPECT_EQ(leaf.sente.kkp[737], 3);
  std::fclose(warnings);
}

TEST(WeightFile, FullSizeFileGivesNoWarning) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  SparseWeightFile file(path);
  std::FILE* warnings = std::tmpfile();
  WeightFile::Open(path, warnings).ReadLeafWeights(40, 40, {}, {});
  EXPECT_EQ(ReadAll(warnings), "");
  std::fclose(warnings);
}

TEST(WeightFile, SizeChangeAfterOpeningWarnsAtReadTime) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  SparseWeightFile file(path);
  std::FILE* warnings = std::tmpfile();
  const WeightFile weights = WeightFile::Open(path, warnings);
  std::filesystem::resize_file(path, 1000);
  const LeafWeights leaf = weights.ReadLeafWeights(40, 40, {}, {});
  EXPECT_EQ(leaf.sente.kkp[0], 0);
  EXPECT_NE(ReadAll(warnings).find("changed while the engine ran; it now has 1000 bytes"), std::string::npos);
  std::fclose(warnings);
}

TEST(WeightFile, UnusableFilesAreRefusedWithTheirPath) {
  TempDir dir;
  struct Case { const char* what; std::string path; const char* problem; };
  std::filesystem::create_directory(dir.File("folder"));
  const Case cases[] = {
      {"missing", dir.File("absent.bin"), "cannot open: No such file or directory"},
      {"directory", dir.File("folder"), "is a directory, not a weight file"},
  };
  for (const Case& c : cases) {
    try {
      WeightFile::Open(c.path, nullptr);
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const InputError& e) {
      EXPECT_EQ(e.file(), c.path) << c.what;
      EXPECT_EQ(e.problem(), c.problem) << c.what;
    }
  }
}

TEST(WeightFile, OutOfRangeRequestsAreRefused) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  SparseWeightFile file(path, 10);
  const WeightFile weights = WeightFile::Open(path, nullptr);
  const std::vector<std::int16_t> bad = {1476};
  EXPECT_THROW(weights.ReadLeafWeights(81, 0, {}, {}), std::out_of_range);
  EXPECT_THROW(weights.ReadLeafWeights(0, -1, {}, {}), std::out_of_range);
  EXPECT_THROW(weights.ReadLeafWeights(0, 0, bad, {}), std::out_of_range);
}

}  // namespace
}  // namespace fv
