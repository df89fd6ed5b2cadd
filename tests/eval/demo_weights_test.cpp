#include "tools/make-demo-weights/demo_weights.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "eval/decomposition.h"
#include "eval/feature_meaning.h"
#include "eval/weight_layout.h"
#include "shogi/start_position.h"
#include "tests/support/positions.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

std::vector<std::int16_t> Block(int king) {
  std::vector<std::int16_t> block(PackedKppBlockSize);
  FillDemoKppBlock(king, block);
  return block;
}

std::int16_t At(const std::vector<std::int16_t>& block, int i, int j) {
  return block[PackedPairIndex(i, j)];
}

constexpr int King59 = 76;  // 5i, Sente's home square

// Feature index of a board piece on square `s` by its base.
constexpr int On(int base, int s) { return base + s; }

// Squares as the view takes them, around the king on 5i (76).
constexpr int Sq58 = 67, Sq48 = 68, Sq68 = 66, Sq57 = 58, Sq47 = 59, Sq38 = 69, Sq69 = 75,
              Sq79 = 74, Sq55 = 40, Sq51 = 4, Sq28 = 70, Sq91 = 0, Sq52 = 13;
constexpr int OwnFU = 81, OppFU = 162, OwnGI = 504, OwnKI = 666, OppKI = 747, OppUM = 1071,
              OppHI = 1233, OppRY = 1395;

TEST(DemoWeights, DocumentedIdeas) {
  const std::vector<std::int16_t> block = Block(King59);
  const std::tuple<const char*, int, int, int> cases[] = {
      // Single pieces: defenders' bonus and attackers' penalty by king distance.
      {"own gold in front of the king", On(OwnKI, Sq58), On(OwnKI, Sq58), 40},
      {"own gold far away still counts a little", On(OwnKI, Sq91), On(OwnKI, Sq91), 1},
      {"opponent's dragon next to the king", On(OppRY, Sq48), On(OppRY, Sq48), -60},
      {"opponent's pawn four steps away", On(OppFU, Sq55), On(OppFU, Sq55), -2},
      {"two silvers in hand", 58 + 2, 58 + 2, 50},
      {"opponent's rook in hand", 87 + 1, 87 + 1, 0},
      // Pairs of own pieces.
      {"gold and silver side by side near the king", On(OwnKI, Sq58), On(OwnGI, Sq48), 16},
      {"gold and silver three steps apart", On(OwnKI, Sq68), On(OwnGI, Sq38), 0},
      {"pawn wall in front of the king", On(OwnFU, Sq57), On(OwnFU, Sq47), 8},
      {"pawns beside the king: side by side, no wall", On(OwnFU, Sq69), On(OwnFU, Sq79), 12},
      // Pairs of the opponent's pieces.
      {"opponent's gold and horse next to the king", On(OppKI, Sq58), On(OppUM, Sq68), -24},
      {"opponent's rook behind its pawn", On(OppHI, Sq51), On(OppFU, Sq57), -14},
      {"opponent's pawns do not combine", On(OppFU, Sq58), On(OppFU, Sq68), 0},
      // Mixed pairs and hand counts.
      {"own and opponent's piece", On(OwnKI, Sq58), On(OppKI, Sq68), 0},
      {"hand count and board piece", 58 + 1, On(OwnKI, Sq58), 0},
  };
  for (const auto& [idea, i, j, units] : cases)
    EXPECT_EQ(At(block, i, j), units * WeightScale) << idea;
  // Every piece on the board, however far from the king, has a single weight.
  for (int index = 0; index < KppFeatureCount; ++index) {
    const FeatureMeaning& f = KppFeatureMeaning(index);
    EXPECT_TRUE(f.inHand || f.place == King59 || At(block, index, index) != 0) << index;
  }
  // Well inside 16 bits: the largest is 18 pawns in hand, 144 units.
  const auto [low, high] = std::minmax_element(block.begin(), block.end());
  // The lowest: the opponent's dragon next to the king.
  EXPECT_EQ(std::pair(int(*low), int(*high)), std::pair(-60 * WeightScale, 144 * WeightScale));
}

TEST(DemoWeights, KkpRanksHandsAndAttackSupport) {
  const std::tuple<const char*, int, int, int, int> cases[] = {
      {"home king, no pawn in hand", King59, 4, 0, 10},
      {"king on 5h, two pawns in hand", Sq58, 4, 2, 6 + 2},
      {"king on 5e", Sq55, 4, 0, -30},
      {"one bishop in hand", King59, 4, 39 + 1, 4},
      {"pawn on its starting rank", King59, 4, 36 + Sq57, 0},
      {"pawn on 5c", King59, 4, 36 + Sq52 + 9, 15},
      {"rook on the opponent's side", King59, 4, 576 + Sq52, 20},
      {"dragon at home", King59, 4, 657 + Sq28, 10},
      {"gold next to the enemy king on 5a", King59, 4, 333 + Sq52, 4 + 12},
      {"pawn next to the enemy king: no support", King59, 4, 36 + Sq52, 20},
  };
  for (const auto& [idea, king, otherKing, feature, units] : cases)
    EXPECT_EQ(DemoKkpWeight(king, otherKing, feature), units * WeightScale) << idea;
}

// One test reads the whole demonstration file, so that a run of the test
// program writes its 186 MB only once.
TEST(DemoWeights, FileHoldsTheRulesAndEvaluatesRealistically) {
  const test::TempFile path("");
  WriteDemoWeights(path.path());
  const WeightFile file = WeightFile::Open(path.path());
  EXPECT_EQ(file.size(), WeightFileBytes);
  const std::vector<std::int16_t> rows = {0, 666 + 67, 1475};
  const LeafWeights leaf = file.ReadLeafWeights(King59, 40, rows, rows);
  const std::vector<std::int16_t> block = Block(King59);
  for (const int i : rows)
    for (const int j : rows) EXPECT_EQ(leaf.sente.Kpp(i, j), At(block, i, j)) << i << ", " << j;
  for (int f = 0; f < KkpFeatureCount; ++f) {
    ASSERT_EQ(leaf.sente.kkp[f], DemoKkpWeight(King59, 40, f)) << f;
    ASSERT_EQ(leaf.gote.kkp[f], DemoKkpWeight(40, 4, f)) << f;
  }

  EXPECT_EQ(testing::Decompose(StartPosition(), file).total, 0);
  // Sente's positional advantage (total less material) stays in a realistic range.
  const std::tuple<const char*, int, int, PieceCode, int, int> cases[] = {
      {"Gote's gold on 4a has left its king for 4d", 5, 32, -KI, 10, 200},
      {"Sente's rook, promoted, next to Gote's king on 5b", 70, 13, RY, 20, 400},
      {"Sente's king walked up to 5e", 76, 40, OU, -800, -100},
  };
  for (const auto& [idea, from, to, piece, low, high] : cases) {
    Position pos = StartPosition();
    pos.board[from] = 0;
    pos.board[to] = piece;
    if (piece == OU) pos.kingSquare[Sente] = std::uint8_t(to);
    const EvaluationBreakdown result = testing::Decompose(pos, file);
    const int positional = result.total - result.material;
    EXPECT_TRUE(low < positional && positional < high) << idea << ": " << positional;
  }
}

TEST(DemoWeights, UnwritablePathIsReported) {
  EXPECT_THROW(WriteDemoWeights("/nonexistent/fv.bin"), std::runtime_error);
}

}  // namespace
}  // namespace fv
