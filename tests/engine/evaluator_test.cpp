#include "engine/evaluator.h"

#include <gtest/gtest.h>

#include <vector>

#include "shogi/sfen.h"
#include "tests/engine/test_positions.h"
#include "tests/support/engine_weights.h"
#include "tests/support/positions.h"

namespace fv::engine {
namespace {

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
  // Random weights make many totals negative with a remainder, so the
  // truncation toward zero is compared as well.
  Evaluator e(SmallWeights());
  std::vector<Board> roots;
  roots.push_back(test::BoardOf(StartSfen));
  for (const char* sfen : testing::TacticalPositions) roots.push_back(test::BoardOf(sfen));
  for (Board& b : roots) {
    e.Reset(b);
    ExpectAgrees(e, b, "fresh");
    const std::vector<Move> game = test::RandomGame(b, 80, 99);
    EXPECT_GT(game.size(), 20u);
    for (const Move m : game) {
      e.Make(b, m);
      b.Make(m);
      ExpectAgrees(e, b, "forwards");
    }
    for (auto m = game.rbegin(); m != game.rend(); ++m) {
      b.Unmake(*m);
      e.Unmake();
      ExpectAgrees(e, b, "backwards");
    }
  }
}

}  // namespace
}  // namespace fv::engine
