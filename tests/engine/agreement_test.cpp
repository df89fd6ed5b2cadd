// fvengine searches with the demonstration weights as fvexplain's ./engine:
// the score on the engine's PV line, from Sente's view, is the evaluation
// that fvexplain reports for the leaf of that PV.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <tuple>

#include "engine/search.h"
#include "tests/run/workspace.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace fv::test {
namespace {

struct PvLine {
  int score, moves;
};

// The line "best score S pv  8  1.+7776FU 2.-3334FU ..." of the search log.
std::optional<PvLine> ReadPvLine(const std::string& log) {
  std::smatch match;
  if (!std::regex_search(log, match, std::regex("best score (-?[0-9]+) pv  8  ([^\n]*)")))
    return std::nullopt;
  const std::string moves = match[2];  // "n." before each move
  return PvLine{std::stoi(match[1]), int(std::count(moves.begin(), moves.end(), '.'))};
}

std::optional<int> ReportedEvaluation(const std::string& report) {
  std::smatch match;
  if (!std::regex_search(report, match,
                         std::regex("evaluation value \\(material\\+position\\)=([+-][0-9]+)<br>")))
    return std::nullopt;
  return std::stoi(match[1]);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

TEST(Agreement, EngineScoreIsTheExplainedEvaluationOfItsLeaf) {
  const std::string midgame = SourceFile("examples/demo/position.csa");
  // The midgame after Gote's rook, Sente's right silver and a Gote pawn have changed hands.
  std::string fullHands = Replace(midgame, "P2 * -OU-GI-HI-KI", "P2 * -OU-GI * -KI");
  fullHands = Replace(fullHands, "P7 * +FU * +FU * +GI", "P7 * +FU * +FU *  * ");
  fullHands = Replace(fullHands, "P4-FU * -FU-FU * -FU", "P4-FU * -FU-FU *  * ");
  fullHands = Replace(fullHands, "P+00KA00FU\nP-00KA\n+", "P+00HI00KA00FU00FU\nP-00KA00GI\n-");
  const std::tuple<const char*, std::string, int> cases[] = {
      // what, position.csa, depth
      {"bundled midgame, Sente to move", midgame, 5},
      {"many pieces in hand, Gote to move", fullHands, 4},
      {"no position.csa: the initial position", "", 4},
  };

  Workspace weights;  // one weight file for every case
  WriteDemoWeights((weights.dir() / "fv.bin").string());
  for (const auto& [what, record, depth] : cases) {
    Workspace run;
    fs::create_symlink(weights.dir() / "fv.bin", run.dir() / "fv.bin");
    fs::create_symlink(FVENGINE_PATH, run.dir() / "engine");
    if (!record.empty()) run.Write("position.csa", record);
    run.Write("engine.conf", "depth = " + std::to_string(depth) + "\ntime = 0\n");
    const RunResult result = run.Run();
    ASSERT_EQ(result.status, 0) << what << ": " << result.err;
    const std::optional<PvLine> pv = ReadPvLine(run.Read("log/n000.log"));
    ASSERT_TRUE(pv) << what;
    // Only a complete PV ends in the position whose evaluation is the score.
    ASSERT_LT(std::abs(pv->score), engine::MateBound) << what;
    ASSERT_GE(pv->moves, depth) << what;
    ASSERT_LT(pv->moves, 15) << what;
    EXPECT_EQ(ReportedEvaluation(run.Read("report.html")), pv->score) << what;
  }
}

}  // namespace
}  // namespace fv::test
