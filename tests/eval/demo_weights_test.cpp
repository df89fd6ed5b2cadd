#include "tools/make-demo-weights/demo_weights.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "eval/decomposition.h"
#include "eval/weight_layout.h"
#include "tests/eval/sample_positions.h"
#include "tests/eval/weight_file_fixture.h"

namespace fv {
namespace {

using testing::TempDir;

std::vector<std::int16_t> Block(int king) {
  std::vector<std::int16_t> block(PackedKppBlockSize);
  FillDemoKppBlock(king, block);
  return block;
}

std::int16_t At(const std::vector<std::int16_t>& block, int i, int j) { return block[PackedPairIndex(i, j)]; }

constexpr int King59 = 76;  // 5i, Sente's home square

TEST(DemoWeights, DocumentedIdeas) {
  const std::vector<std::int16_t> block = Block(King59);
  struct Case { const char* idea; int i, j; int units; };
  const Case cases[] = {
      {"own gold in front of the king", 666 + 67, 666 + 67, 40},
      {"own silver two steps away", 504 + 56, 504 + 56, 20},
      {"own gold far away", 666 + 10, 666 + 10, 0},
      {"opponent's dragon next to the king", 1395 + 75, 1395 + 75, -60},
      {"opponent's knight two steps away", 441 + 58, 441 + 58, -20},
      {"two silvers in hand", 58 + 2, 58 + 2, 50},
      {"opponent's rook in hand", 87 + 1, 87 + 1, 0},
      {"gold and silver side by side near the king", 666 + 68, 504 + 69, 15},
      {"gold and silver apart", 666 + 68, 504 + 66, 0},
      {"opponent's gold and horse near the king", 747 + 67, 1071 + 66, -20},
      {"opponent's pawns do not combine", 162 + 67, 162 + 66, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(At(block, c.i, c.j), c.units * WeightScale) << c.idea;
  // Well inside 16 bits: the largest is 18 pawns in hand, 144 units.
  const auto [low, high] = std::minmax_element(block.begin(), block.end());
  EXPECT_EQ(*low, -60 * WeightScale);  // the opponent's dragon next to the king
  EXPECT_EQ(*high, 144 * WeightScale);
}

TEST(DemoWeights, KingShelterAndAttackSupport) {
  EXPECT_EQ(DemoKkpWeight(King59, 4, 0), 0);                   // home king
  EXPECT_EQ(DemoKkpWeight(40, 4, 0), -30 * WeightScale);       // king on 5e
  EXPECT_EQ(DemoKkpWeight(40, 4, 3), -30 * WeightScale);       // with any own pawn count
  EXPECT_EQ(DemoKkpWeight(King59, 4, 333 + 13), 10 * WeightScale);  // own gold next to the enemy king
  EXPECT_EQ(DemoKkpWeight(King59, 4, 36 + 13), 0);             // own pawn there: no support
}

// The whole demonstration file, written once for the tests that read it.
const WeightFile& DemoFile() {
  static const TempDir dir;
  static const WeightFile file = [] {
    WriteDemoWeights(dir.File("fv.bin"));
    return WeightFile::Open(dir.File("fv.bin"), nullptr);
  }();
  return file;
}

TEST(DemoWeights, FileHoldsTheRulesInTheLayout) {
  EXPECT_EQ(DemoFile().size(), WeightFileBytes);
  const std::vector<std::int16_t> rows = {0, 666 + 67, 1475};
  const LeafWeights leaf = DemoFile().ReadLeafWeights(King59, 40, rows, rows);
  const std::vector<std::int16_t> block = Block(King59);
  for (const int i : rows) {
    for (const int j : rows) EXPECT_EQ(leaf.sente.Kpp(i, j), At(block, i, j)) << i << ", " << j;
  }
  for (int f = 0; f < KkpFeatureCount; ++f) {
    ASSERT_EQ(leaf.sente.kkp[f], DemoKkpWeight(King59, 40, f)) << f;
    ASSERT_EQ(leaf.gote.kkp[f], DemoKkpWeight(40, 4, f)) << f;
  }
}

EvaluationBreakdown DemoEvaluation(const Position& pos) { return DecomposeEvaluation(pos, DemoFile()); }

TEST(DemoWeights, StartingPositionIsBalancedAndAWeakCastleIsNot) {
  EXPECT_EQ(DemoEvaluation(sample::StartingPosition()).total, 0);
  // Gote's gold on 4a has left its king: Sente is better by the position
  // alone, by a realistic margin.
  Position pos = sample::StartingPosition();
  pos.board[5] = 0;
  pos.board[5 + 27] = -KI;
  const EvaluationBreakdown result = DemoEvaluation(pos);
  EXPECT_EQ(result.material, 0);
  EXPECT_GT(result.total, 10);
  EXPECT_LT(result.total, 200);
}

TEST(DemoWeights, UnwritablePathIsReported) {
  TempDir dir;
  EXPECT_THROW(WriteDemoWeights(dir.File("missing/fv.bin")), std::runtime_error);
}

}  // namespace
}  // namespace fv
