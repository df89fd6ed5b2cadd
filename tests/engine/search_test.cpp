#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "engine/search.h"
#include "shogi/movegen.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"
#include "tests/engine/test_positions.h"
#include "tests/support/engine_weights.h"
#include "tests/support/positions.h"

namespace fv::engine {
namespace {

using test::BoardOf;

const Weights& SmallWeights() {
  static const Weights w = testing::PseudoRandomWeights(11, 7, 3000);
  return w;
}

std::vector<const char*> SearchPositions() {
  std::vector<const char*> positions = {StartSfen.data()};
  positions.insert(positions.end(), testing::TacticalPositions.begin(),
                   testing::TacticalPositions.end());
  return positions;
}

SearchLimits Depth(int depth) {
  SearchLimits limits;
  limits.maxDepth = depth;
  limits.hashMb = 2;
  return limits;
}

TEST(Search, IncrementalEvaluationMatchesFullComputationAtEveryNode) {
  for (const char* root : SearchPositions()) {
    std::uint64_t visited = 0;
    SearchHooks hooks;
    hooks.onNode = [&](const Board& b, int senteValue) {
      ++visited;
      ASSERT_EQ(senteValue, testing::Explained(SmallWeights(), b.ToPosition()).total);
    };
    Search(BoardOf(root), SmallWeights(), Depth(3), hooks);
    EXPECT_GT(visited, 100u);
  }
}

// Plays `pv` from `root`, each move checked to be legal, and returns the leaf.
Board PlayPv(const char* root, const std::vector<Move>& pv) {
  Board b = BoardOf(root);
  for (const Move m : pv) {
    std::array<Move, MaxMoves> moves;
    const int n = GenerateLegal(b, moves.data());
    EXPECT_NE(std::find(moves.begin(), moves.begin() + n, m), moves.begin() + n) << "illegal move";
    b.Make(m);
  }
  return b;
}

TEST(Search, RootScoreIsTheStaticEvaluationOfThePvLeaf) {
  // A mate score instead ends its PV in a position without a legal move, or
  // in a repetition by perpetual check.
  int evaluatedLeaves = 0;
  for (const char* root : SearchPositions()) {
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
      EXPECT_EQ(it.score, testing::Explained(SmallWeights(), leaf.ToPosition()).total)
          << "depth " << it.depth;
      ++evaluatedLeaves;
    }
  }
  EXPECT_GE(evaluatedLeaves, 15);
}

TEST(Search, FindsMateFromEitherSideAndNeverMatesByAPawnDrop) {
  // A gold dropped on 1b mates (Gote's on 5h mirrored); with only a pawn in
  // hand the same drop is illegal. Scores are from Sente's view.
  struct Case {
    const char* root;
    int depth, score;
  };
  const Case cases[] = {
      {"8k/9/6NG1/9/9/9/9/9/4K4 b G 1", 3, MateScore - 1},
      {"4k4/9/9/9/9/9/6ng1/9/8K w g 1", 3, -(MateScore - 1)},
      {"8k/9/6NG1/9/9/9/9/9/4K4 b P 1", 1, 0},
  };
  for (const Case& c : cases) {
    const SearchResult result = Search(BoardOf(c.root), SmallWeights(), Depth(c.depth));
    const Iteration& last = result.iterations.back();
    Board after = PlayPv(c.root, last.pv);
    std::array<Move, MaxMoves> replies;
    if (c.score == 0)
      EXPECT_LT(last.score, MateBound) << c.root;
    else
      EXPECT_EQ(std::pair(last.score, GenerateLegal(after, replies.data())), std::pair(c.score, 0));
  }
}

TEST(Search, PerpetualCheckLosesAndOtherRepetitionsDraw) {
  // inCheck by ply from the root; the last entry is the repeated position.
  struct Case {
    const char* what;
    std::vector<bool> inCheck;
    int distance, expected;
  };
  const Case cases[] = {
      {"quiet cycle", {false, false, false, false, false}, 4, 0},
      {"we were checked at every turn", {false, true, false, true, false, true}, 4, MateScore - 5},
      {"they were checked at every turn",
       {false, false, false, true, false, true, false},
       4,
       -MateScore + 6},
      {"one quiet move breaks the chain", {false, true, false, false, false, true}, 4, 0},
      {"longer cycle with checks", {true, false, true, false, true, false, true}, 6, MateScore - 6},
      {"cycle older than the root", {true, false, true}, 4, 0},
  };
  for (const Case& c : cases) {
    std::array<bool, 16> flags{};
    std::copy(c.inCheck.begin(), c.inCheck.end(), flags.begin());
    EXPECT_EQ(RepetitionScore(flags.data(), int(c.inCheck.size()) - 1, c.distance), c.expected)
        << c.what;
  }
}

TEST(Search, TheGameBeforeTheRootCountsForRepetitions) {
  // Sente, a rook down, may go back to a position of the game: a draw.
  const Board fresh = BoardOf("4k4/9/9/9/9/9/9/9/4K4 b r 1");
  Board played = fresh;
  for (const char* move : {"5i5h", "5a5b", "5h5i", "5b5a"}) played.Make(ParseUsiMove(played, move));
  const Weights material = testing::PseudoRandomWeights(0, 1, 0);  // all 0
  EXPECT_LT(Search(fresh, material, Depth(3)).iterations.back().score, -500);
  EXPECT_EQ(Search(played, material, Depth(3)).iterations.back().score, 0);
}

TEST(Search, TimeLimitKeepsTheLastFinishedIteration) {
  SearchLimits limits = Depth(64);
  limits.timeMs = 50;
  const SearchResult result = Search(BoardOf(StartSfen), SmallWeights(), limits);
  ASSERT_FALSE(result.iterations.empty());
  EXPECT_LT(result.iterations.back().depth, 64);
  EXPECT_EQ(result.unfinishedDepth, result.iterations.back().depth + 1);
  EXPECT_LT(result.milliseconds, 2000);
}

}  // namespace
}  // namespace fv::engine
