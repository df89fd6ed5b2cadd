#include "eval/analysis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "position/input_error.h"
#include "tests/eval/sample_positions.h"
#include "tests/eval/weight_file_fixture.h"

namespace fv {
namespace {

using testing::Contents;
using testing::SparseWeightFile;
using testing::TempDir;

struct Output {
  std::string console;
  std::string report;
  EvaluationAnalysis analysis;
};

// Runs the analysis of `pos` on a weight file that holds pseudo-random
// weights in the two king views of the position and zeros elsewhere.
Output Analyze(const Position& pos, int sortMode, int rankCount,
               std::int16_t (*weight)(std::uint64_t) = testing::ModestWeight) {
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  {
    SparseWeightFile file(path);
    const int ks = pos.kingSquare[Sente];
    const int kg = pos.kingSquare[Gote];
    file.FillView(ks, kg, weight);
    file.FillView(80 - kg, 80 - ks, weight);
  }
  std::FILE* console = std::tmpfile();
  std::FILE* report = std::tmpfile();
  Output out;
  out.analysis = AnalyzeEvaluation(pos, WeightFile::Open(path, nullptr), sortMode, rankCount, console, report);
  WriteEvaluationTotal(report, out.analysis);
  out.console = Contents(console);
  out.report = Contents(report);
  return out;
}

std::string Expected(const std::string& name) {
  std::ifstream in(std::string(FV_EVAL_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// FV_UPDATE_EXPECTED=1 rewrites the expected files from the current output;
// review the difference before committing it.
void Compare(const std::string& name, const std::string& actual) {
  if (std::getenv("FV_UPDATE_EXPECTED")) {
    std::ofstream(std::string(FV_EVAL_TEST_DATA) + "/" + name, std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, Expected(name)) << name;
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

TEST(AnalysisOutput, PreparedPositionsMatchTheirTranscripts) {
  struct Case { const char* name; Position pos; int sortMode; };
  const Case cases[] = {
      {"two_kings", sample::TwoKings(77, 4), 0},
      {"starting_position", sample::StartingPosition(), 1},
      {"middlegame", Middlegame(), 2},
  };
  for (const Case& c : cases) {
    const Output out = Analyze(c.pos, c.sortMode, 150);
    Compare(std::string(c.name) + ".console", out.console);
    Compare(std::string(c.name) + ".report", out.report);
    EXPECT_EQ(out.analysis.ranked.size(), 150u);
  }
}

TEST(AnalysisOutput, RankCountBeyondTheTermsListsEveryTerm) {
  const Output out = Analyze(sample::TwoKings(76, 4), 0, 500);
  EXPECT_EQ(out.analysis.ranked.size(), 210u);
  EXPECT_NE(out.console.find("\n210: value = "), std::string::npos);
  EXPECT_EQ(out.console.find("\n211: value = "), std::string::npos);
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

TEST(AnalysisOutput, UnusablePositionWritesNothing) {
  Position pos = sample::TwoKings(76, 4);
  pos.hand[Gote][0] = -3;
  TempDir dir;
  const std::string path = dir.File("fv.bin");
  SparseWeightFile file(path, 2);
  std::FILE* console = std::tmpfile();
  std::FILE* report = std::tmpfile();
  EXPECT_THROW(AnalyzeEvaluation(pos, WeightFile::Open(path, nullptr), 0, 150, console, report), InputError);
  EXPECT_EQ(Contents(console), "");
  EXPECT_EQ(Contents(report), "");
}

}  // namespace
}  // namespace fv
