// fvengine searches with the demonstration weights as fvexplain's ./engine:
// the score on the engine's PV line, from Sente's view, is the evaluation
// that fvexplain reports for the leaf of that PV.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "engine/search.h"
#include "tests/run/workspace.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace fv::test {
namespace {

// The rest of the line after the first `marker` in `text`; "" without one.
std::string LineAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) return "";
  const std::size_t from = at + marker.size();
  return text.substr(from, text.find('\n', from) - from);
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
    // The log's "best score S pv  8  1.+7776FU 2.-3334FU ...", with "n." before each move.
    const std::string best = LineAfter(run.Read("log/n000.log"), "best score ");
    const std::size_t pv = best.find(" pv  8  ");
    ASSERT_NE(pv, std::string::npos) << what << ": " << best;
    const int score = std::stoi(best), moves = int(std::count(best.begin() + pv, best.end(), '.'));
    // Only a complete PV ends in the position whose evaluation is the score.
    ASSERT_TRUE(std::abs(score) < engine::MateBound && depth <= moves && moves < 15)
        << what << ": score " << score << ", " << moves << " moves";
    EXPECT_EQ(NumberAfter(run.Read("report.html"), "evaluation value (material+position)="), score)
        << what;
  }
}

}  // namespace
}  // namespace fv::test
