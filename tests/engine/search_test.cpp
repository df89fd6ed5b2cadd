#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>
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

SearchLimits Depth(int depth) {
  SearchLimits limits;
  limits.maxDepth = depth;
  limits.hashMb = 2;
  return limits;
}

// That the root score is the evaluation of the PV's leaf, whose moves are legal, is held
// by the agreement test: fvexplain checks fvengine's PV and evaluates its leaf.
TEST(Search, IncrementalEvaluationMatchesFullComputationAtEveryNode) {
  std::vector<const char*> roots = {StartSfen.data()};
  roots.insert(roots.end(), testing::TacticalPositions.begin(), testing::TacticalPositions.end());
  for (const char* root : roots) {
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

TEST(Search, FindsMateFromEitherSideAndNeverMatesByAPawnDrop) {
  // A gold dropped on 1b mates (Gote's on 5h mirrored); with only a pawn in
  // hand the same drop is illegal. Scores are from Sente's view.
  const std::tuple<const char*, int, int> cases[] = {
      // the root, the depth, the score
      {"8k/9/6NG1/9/9/9/9/9/4K4 b G 1", 3, MateScore - 1},
      {"4k4/9/9/9/9/9/6ng1/9/8K w g 1", 3, -(MateScore - 1)},
      {"8k/9/6NG1/9/9/9/9/9/4K4 b P 1", 1, 0},
  };
  for (const auto& [root, depth, score] : cases) {
    const Iteration last = Search(BoardOf(root), SmallWeights(), Depth(depth)).iterations.back();
    Board after = PlayPv(root, last.pv);
    std::array<Move, MaxMoves> replies;
    if (score == 0)
      EXPECT_LT(last.score, MateBound) << root;
    else
      EXPECT_EQ(std::pair(last.score, GenerateLegal(after, replies.data())), std::pair(score, 0));
  }
}

TEST(Search, PerpetualCheckLosesAndOtherRepetitionsDraw) {
  // inCheck by ply from the root, 1 for a side in check; the last is the repeated position.
  const std::tuple<const char*, const char*, int, int> cases[] = {
      {"quiet cycle", "00000", 4, 0},
      {"we were checked at every turn", "010101", 4, MateScore - 5},
      {"they were checked at every turn", "0001010", 4, -MateScore + 6},
      {"one quiet move breaks the chain", "010001", 4, 0},
      {"longer cycle with checks", "1010101", 6, MateScore - 6},
      {"cycle older than the root", "101", 4, 0},
  };
  for (const auto& [what, inCheck, distance, expected] : cases) {
    std::array<bool, 16> flags{};
    const int plies = int(std::strlen(inCheck));
    for (int ply = 0; ply < plies; ++ply) flags[ply] = inCheck[ply] == '1';
    EXPECT_EQ(RepetitionScore(flags.data(), plies - 1, distance), expected) << what;
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
