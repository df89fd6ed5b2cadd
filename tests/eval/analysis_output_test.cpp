#include "eval/analysis.h"

#include <gtest/gtest.h>

#include <string>

#include "io/input_error.h"
#include "tests/eval/sample_positions.h"
#include "tests/eval/weight_file_fixture.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using testing::SparseWeightFile;

struct Output {
  std::string console, report;
  EvaluationAnalysis analysis;
};

// Runs the analysis of `pos` on a weight file that holds pseudo-random
// weights in the two king views of the position and zeros elsewhere.
Output Analyze(const Position& pos, int sortMode, int rankCount,
               std::int16_t (*weight)(std::uint64_t) = testing::ModestWeight) {
  SparseWeightFile file;
  const int ks = pos.kingSquare[Sente], kg = pos.kingSquare[Gote];
  file.FillView(ks, kg, weight);
  file.FillView(80 - kg, 80 - ks, weight);
  test::CapturedStream console, report;
  Output out;
  const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
  out.analysis = AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, file.Open()),
                                   RankingOrderOf(sortMode), rankCount, console.file(), report.file());
  WriteEvaluationTotal(report.file(), out.analysis);
  out.console = console.text();
  out.report = report.text();
  return out;
}

Position Middlegame() {
  // Sente castled on the left with a pawn and a silver in hand; Gote has a
  // promoted pawn and a dragon near Sente's king and a bishop in hand.
  return sample::Board({"-KY-KE *  *  *  * -KI-KE-KY",
                        " *  *  *  *  *  * -KI-OU * ",
                        "-FU * -FU-FU * -GI-GI-FU * ",
                        " *  *  *  * -FU-FU-FU * -FU",
                        " * -FU *  *  *  *  *  *  * ",
                        " *  * +FU+FU * +FU *  * +FU",
                        "+FU+FU+GI * +FU * +FU+FU * ",
                        " * +KI+KI *  *  * -TO *  * ",
                        "+KY+OU+KE *  *  * -RY+KE+KY"},
                       {1, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 1});
}

// The sums, the statistics (sums in shown units), the first and the last ranked
// line and the total:
// two kings alone (fewer terms than ranks asked for), the symmetric starting
// position (every sum 0) and a middlegame with pieces in hand.
TEST(AnalysisOutput, SumsStatisticsRanksAndTotal) {
  struct Case {
    const char* what; Position pos; int sortMode, rankCount; const char* sums;
    int senteCount, senteSum, goteCount, goteSum; const char *first, *last, *total;
  };
  const Case cases[] = {
      {"two kings", sample::TwoKings(77, 4), 0, 500, "KKP=1389\nKPP=-10\n", 100, 6711, 110, 6722,
       "1: value = 4064  [-51OU]-[+FU*]-[-FU*]\n", "210: value = -14  [-51OU]-[+HI*]-[+KA*]\n",
       "evaluation value (material+position)=+32<br><br>material=+0<br>"},
      {"starting position", sample::StartingPosition(), 1, 150, "KKP=0\nKPP=0\n", 1378, 88907, 1378, 88907,
       "1: value = 4086  [-51OU]-[-63FU]-[-KY*]\n", "150: value = 3664  [+59OU]-[+97FU]-[-73FU]\n",
       "evaluation value (material+position)=+0<br><br>material=+0<br>"},
      {"middlegame", Middlegame(), 2, 150, "KKP=-2436\nKPP=49\n", 1226, 77410, 1224, 77360,
       "1: value = -4086  [+89OU]-[-33GI]-[-KI*]\n", "150: value = -3586  [-22OU]-[-63FU]-[-FU*]\n",
       "evaluation value (material+position)=-2629<br><br>material=-2603<br>"},
  };
  for (const Case& c : cases) {
    const Output out = Analyze(c.pos, c.sortMode, c.rankCount);
    const ContributionStats& stats = out.analysis.statistics;
    EXPECT_EQ(out.console.rfind(c.sums, 0), 0u) << c.what;
    EXPECT_EQ(stats.side[Sente].count, c.senteCount) << c.what;
    EXPECT_EQ(stats.side[Sente].sum / WeightScale, c.senteSum) << c.what;
    EXPECT_EQ(stats.side[Gote].count, c.goteCount) << c.what;
    EXPECT_EQ(stats.side[Gote].sum / WeightScale, c.goteSum) << c.what;
    EXPECT_NE(out.console.find(std::string("RANKING:\n") + c.first), std::string::npos) << c.what;
    const std::string last = c.last;
    ASSERT_GE(out.console.size(), last.size()) << c.what;
    EXPECT_EQ(out.console.substr(out.console.size() - last.size()), last) << c.what;
    EXPECT_EQ(out.analysis.ranked.size(), std::size_t(std::stoi(last))) << c.what;
    const std::string total = c.total;
    ASSERT_GE(out.report.size(), total.size()) << c.what;
    EXPECT_EQ(out.report.substr(out.report.size() - total.size()), total) << c.what;
  }
}

TEST(AnalysisOutput, GoteWeightOfMinus32768RanksAsPlus32768) {
  // Every weight -32768: the Gote-view terms are +32768 and rank first in
  // mode 1, printed with their true sign.
  const Output out = Analyze(sample::TwoKings(76, 4), 1, 1, [](std::uint64_t) { return std::int16_t(-32768); });
  EXPECT_NE(out.console.find("RANKING:\n1: value = 32768  [-51OU]-[-FU*]-[-FU*]\n"), std::string::npos);
  EXPECT_EQ(out.analysis.ranked.front().value, 32768);
  EXPECT_EQ(out.analysis.statistics.side[Sente].count, 105);
  EXPECT_EQ(out.analysis.statistics.side[Sente].sum, 105 * 32768);
}

}  // namespace
}  // namespace fv
