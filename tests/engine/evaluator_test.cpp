#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/evaluator.h"
#include "shogi/movegen.h"
#include "engine/position_record.h"
#include "shogi/start_position.h"
#include "tests/engine/explained_eval.h"
#include "tests/engine/test_weights.h"
#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

using testing::BoardOf;

const Weights& SmallWeights() {
  static const Weights w = testing::PseudoRandomWeights(7, 7, 2000);
  return w;
}

void ExpectAgrees(const Evaluator& e, const Board& b, const char* what) {
  const EvaluationBreakdown ref = testing::Explained(SmallWeights(), b.ToPosition());
  ASSERT_EQ(e.Material(), ref.material) << what;
  ASSERT_EQ(e.KkpSum(), ref.kkpSum) << what;
  ASSERT_EQ(e.KppSum(), ref.kppSum) << what;
  ASSERT_EQ(e.SenteTotal(), ref.total) << what;
  ASSERT_EQ(e.Value(b.SideToMove()), b.SideToMove() == Sente ? ref.total : -ref.total) << what;
}

TEST(Evaluator, FreshAndIncrementalValuesMatchTheExplainerAlongRandomGames) {
  // Random legal games cover captures, drops, promotions and king moves of
  // both sides; every step is checked forwards and again on the way back.
  Evaluator e(SmallWeights());
  std::vector<Board> roots = {BoardOf({StartPosition(), Sente})};
  for (const char* record : testing::TacticalRecords) roots.push_back(BoardOf(testing::RecordOf(record)));
  for (Board& b : roots) {
    e.Reset(b);
    ExpectAgrees(e, b, "fresh");
    std::array<Move, 80> played{};
    std::uint32_t seed = 99;
    int plies = 0;
    for (; plies < 80; ++plies) {
      std::array<Move, MaxMoves> moves;
      const int n = GenerateLegal(b, moves.data());
      if (n == 0) break;
      seed = seed * 1664525u + 1013904223u;
      const Move m = moves[(seed >> 8) % n];
      e.Make(b, m);
      b.Make(m);
      played[plies] = m;
      ExpectAgrees(e, b, "forwards");
    }
    EXPECT_GT(plies, 20);
    while (plies-- > 0) {
      b.Unmake(played[plies]);
      e.Unmake();
      ExpectAgrees(e, b, "backwards");
    }
  }
}

TEST(Evaluator, TotalTruncatesTowardZero) {
  // Two kings alone: only the fourteen hand entries. Pick KKP weights that
  // make the sum -40 weight units and leave KPP at 0: the total is -1, not -2.
  const auto tables = testing::ZeroTables(1);
  const int ks = SquareOf(5, 9), kg = SquareOf(4, 1);
  tables->kkp[KkpIndex(ks, kg, 0)] = -40;  // Sente's FU count 0
  const Weights w = testing::WeightsOf(tables, 1);
  Evaluator e(w);
  Board b = BoardOf(testing::PositionWith({{OU, 5, 9}, {-OU, 4, 1}}));
  e.Reset(b);
  EXPECT_EQ(e.KkpSum(), -40);
  EXPECT_EQ(e.SenteTotal(), -1);
  tables->kkp[KkpIndex(ks, kg, 0)] = 0;
  tables->kkp[KkpIndex(80 - kg, 80 - ks, 19)] = -33;  // Gote's KY count 0, subtracted
  e.Reset(b);
  EXPECT_EQ(e.KkpSum(), 33);
  EXPECT_EQ(e.SenteTotal(), 1);
}

}  // namespace
}  // namespace fv::engine
