#include <gtest/gtest.h>

#include <array>
#include <string>

#include "eval/analysis.h"
#include "eval/location_label.h"
#include "io/input_error.h"
#include "shogi/start_position.h"
#include "tests/support/positions.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

using testing::SparseWeightFile;

// Runs the analysis of `pos` on a weight file that holds pseudo-random
// weights in the two king views of the position and zeros elsewhere.
EvaluationAnalysis Analyze(const Position& pos, int sortMode, int rankCount,
                           std::int16_t (*weight)(std::uint64_t) = testing::ModestWeight) {
  SparseWeightFile file;
  const int ks = pos.kingSquare[Sente], kg = pos.kingSquare[Gote];
  file.FillView(ks, kg, weight);
  file.FillView(80 - kg, 80 - ks, weight);
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  return AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, file.Open()), RankingOrderOf(sortMode),
                           rankCount);
}

// Sente castled on the left with a pawn and a silver in hand; Gote has a
// promoted pawn and a dragon near Sente's king and a bishop in hand. Two of
// the pawns are more than a set holds; the weights do not mind.
Position Middlegame() {
  Position pos = test::PositionOf(
      "ln4gnl/6gk1/p1pp1ssp1/4ppp1p/1p7/2PP1P3/PPS1P1PP1/1GG3+p2/LKN3+rNL b Srb 1");
  pos.board[SquareOf(1, 6)] = FU;
  pos.hand[Sente][FU] = 1;
  return pos;
}

// A ranked term: its value and labels.
using Ranked = std::pair<std::int32_t, const char*>;

// The sums, the statistics (sums in shown units), the first and the last
// ranked term with its labels, the total and the material: two kings alone
// (fewer terms than ranks asked for), the symmetric starting position (every
// sum 0) and a middlegame with pieces in hand.
TEST(AnalysisOutput, SumsStatisticsRanksAndTotal) {
  // Sums and statistics: kkp, kpp, Sente's count and sum, Gote's, total, material.
  using Figures = std::array<int, 8>;
  const auto expect = [](const char* what, const Position& pos, int sortMode, int rankCount,
                         Figures figures, Ranked first, Ranked last, std::size_t shown) {
    const EvaluationAnalysis out = Analyze(pos, sortMode, rankCount);
    const SideStatistics& sente = out.statistics.side[Sente];
    const SideStatistics& gote = out.statistics.side[Gote];
    EXPECT_EQ((Figures{out.kkpSum, out.kppSum / WeightScale, sente.count, sente.sum / WeightScale,
                       gote.count, gote.sum / WeightScale, out.total, out.material}),
              figures)
        << what;
    ASSERT_EQ(out.ranked.size(), shown) << what;
    for (const auto& [term, expected] :
         {std::pair{out.ranked.front(), first}, {out.ranked.back(), last}}) {
      EXPECT_EQ(std::pair(term.value, TermLabel(pos, term)),
                std::pair(expected.first, std::string(expected.second)))
          << what;
    }
  };
  expect("two kings", test::TwoKings(77, 4), 0, 500, {1389, -10, 100, 6711, 110, 6722, 32, 0},
         {4064, "[-51OU]-[+FU*]-[-FU*]"}, {-14, "[-51OU]-[+HI*]-[+KA*]"}, 210);
  expect("starting position", StartPosition(), 1, 150, {0, 0, 1378, 88907, 1378, 88907, 0, 0},
         {4086, "[-51OU]-[-63FU]-[-KY*]"}, {3664, "[+59OU]-[+97FU]-[-73FU]"}, 150);
  expect("middlegame", Middlegame(), 2, 150, {-2436, 49, 1226, 77410, 1224, 77360, -2629, -2603},
         {-4086, "[+89OU]-[-33GI]-[-KI*]"}, {-3586, "[-22OU]-[-63FU]-[-FU*]"}, 150);
}

TEST(AnalysisOutput, GoteWeightOfMinus32768RanksAsPlus32768) {
  // Every weight -32768: the Gote-view terms are +32768 and rank first in
  // mode 1, with their true sign.
  const EvaluationAnalysis out =
      Analyze(test::TwoKings(76, 4), 1, 1, [](std::uint64_t) { return std::int16_t(-32768); });
  EXPECT_EQ(
      std::pair(out.ranked.front().value, TermLabel(test::TwoKings(76, 4), out.ranked.front())),
      std::pair(32768, std::string("[-51OU]-[-FU*]-[-FU*]")));
  EXPECT_EQ(std::pair(out.statistics.side[Sente].count, out.statistics.side[Sente].sum),
            std::pair(105, 105 * 32768));
}

}  // namespace
}  // namespace fv
