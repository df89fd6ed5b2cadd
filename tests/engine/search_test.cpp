#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "engine/movegen.h"
#include "engine/position_record.h"
#include "engine/search.h"
#include "engine/start_position.h"
#include "tests/engine/reference_eval.h"
#include "tests/engine/test_weights.h"
#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

using testing::BoardOf;
using testing::PositionWith;

const Weights& SmallWeights() {
  static const Weights w = testing::PseudoRandomWeights(11, 7, 3000);
  return w;
}

std::vector<PositionRecord> SearchPositions() {
  std::vector<PositionRecord> positions = {{StartPosition(), Sente}};
  for (const char* record : testing::TacticalRecords) positions.push_back(ParsePositionRecord(record, "record"));
  return positions;
}

SearchLimits Depth(int depth) {
  SearchLimits limits;
  limits.maxDepth = depth;
  limits.hashMb = 2;
  return limits;
}

TEST(Search, IncrementalEvaluationMatchesFullComputationAtEveryNode) {
  for (const PositionRecord& root : SearchPositions()) {
    std::uint64_t visited = 0;
    SearchHooks hooks;
    hooks.onNode = [&](const Board& b, int senteValue) {
      ++visited;
      ASSERT_EQ(senteValue, testing::Evaluate(SmallWeights(), b.ToPosition()).total);
    };
    Search(BoardOf(root), SmallWeights(), Depth(3), hooks);
    EXPECT_GT(visited, 100u);
  }
}

// Plays `pv` from `root`, each move checked to be legal, and returns the leaf.
Board PlayPv(const PositionRecord& root, const std::vector<Move>& pv) {
  Board b = BoardOf(root);
  for (const Move m : pv) {
    std::array<Move, MaxMoves> moves;
    const int n = GenerateLegal(b, moves.data());
    EXPECT_NE(std::find(moves.begin(), moves.begin() + n, m), moves.begin() + n) << "illegal PV move";
    b.Make(m);
  }
  return b;
}

TEST(Search, RootScoreIsTheStaticEvaluationOfThePvLeaf) {
  // A mate score instead ends its PV in a position without a legal move, or
  // in a repetition by perpetual check.
  int evaluatedLeaves = 0;
  for (const PositionRecord& root : SearchPositions()) {
    const SearchResult result = Search(BoardOf(root), SmallWeights(), Depth(5));
    ASSERT_FALSE(result.iterations.empty());
    for (const Iteration& it : result.iterations) {
      ASSERT_LE(it.pv.size(), 15u);
      Board leaf = PlayPv(root, it.pv);
      if (std::abs(it.score) > MateBound) {
        std::array<Move, MaxMoves> moves;
        EXPECT_TRUE(GenerateLegal(leaf, moves.data()) == 0 || leaf.RepetitionDistance() != 0);
        continue;
      }
      ASSERT_GE(int(it.pv.size()), it.depth) << "the PV reaches at least the nominal depth";
      EXPECT_EQ(it.score, testing::Evaluate(SmallWeights(), leaf.ToPosition()).total) << "depth " << it.depth;
      ++evaluatedLeaves;
    }
  }
  EXPECT_GE(evaluatedLeaves, 15);
}

TEST(Search, FindsMateAndNeverMatesByAPawnDrop) {
  const std::array<std::int8_t, 7> gold = {0, 0, 0, 0, 1, 0, 0};
  const std::array<std::int8_t, 7> pawn = {1, 0, 0, 0, 0, 0, 0};
  // A gold dropped on 1b mates; with only a pawn in hand the same drop is illegal.
  const PositionRecord withGold = PositionWith({{OU, 5, 9}, {-OU, 1, 1}, {KI, 2, 3}, {KE, 3, 3}}, gold);
  const PositionRecord withPawn = PositionWith({{OU, 5, 9}, {-OU, 1, 1}, {KI, 2, 3}, {KE, 3, 3}}, pawn);
  const SearchResult mate = Search(BoardOf(withGold), SmallWeights(), Depth(3));
  EXPECT_EQ(mate.iterations.back().score, MateScore - 1);
  Board after = PlayPv(withGold, mate.iterations.back().pv);
  std::array<Move, MaxMoves> replies;
  EXPECT_EQ(GenerateLegal(after, replies.data()), 0);
  const SearchResult noMate = Search(BoardOf(withPawn), SmallWeights(), Depth(1));
  EXPECT_LT(noMate.iterations.back().score, MateBound);
}

TEST(Search, GoteToMoveScoresFromSenteView) {
  // Gote is mated in one: the score from Sente's view is the negated mate.
  const std::array<std::int8_t, 7> gold = {0, 0, 0, 0, 1, 0, 0};
  const PositionRecord r = PositionWith({{-OU, 5, 1}, {OU, 1, 9}, {-KI, 2, 7}, {-KE, 3, 7}}, {}, gold, Gote);
  const SearchResult result = Search(BoardOf(r), SmallWeights(), Depth(3));
  EXPECT_EQ(result.iterations.back().score, -(MateScore - 1));
}

TEST(Search, PerpetualCheckLosesAndOtherRepetitionsDraw) {
  struct Case {
    const char* what;
    std::vector<bool> inCheck;  // by ply from the root; the last entry is the repeated position
    int distance;
    int expected;
  };
  const Case cases[] = {
      {"quiet cycle", {false, false, false, false, false}, 4, 0},
      {"we were checked at every turn", {false, true, false, true, false, true}, 4, MateScore - 5},
      {"they were checked at every turn", {false, false, false, true, false, true, false}, 4, -MateScore + 6},
      {"one quiet move breaks the chain", {false, true, false, false, false, true}, 4, 0},
      {"longer cycle with checks", {true, false, true, false, true, false, true}, 6, MateScore - 6},
      {"cycle older than the root", {true, false, true}, 4, 0},
  };
  for (const Case& c : cases) {
    std::array<bool, 16> flags{};
    std::copy(c.inCheck.begin(), c.inCheck.end(), flags.begin());
    EXPECT_EQ(RepetitionScore(flags.data(), int(c.inCheck.size()) - 1, c.distance), c.expected) << c.what;
  }
}

TEST(Search, TimeLimitKeepsTheLastFinishedIteration) {
  SearchLimits limits = Depth(64);
  limits.timeMs = 50;
  const SearchResult result = Search(BoardOf({StartPosition(), Sente}), SmallWeights(), limits);
  ASSERT_FALSE(result.iterations.empty());
  EXPECT_LT(result.iterations.back().depth, 64);
  EXPECT_LT(result.milliseconds, 2000);
}

}  // namespace
}  // namespace fv::engine
