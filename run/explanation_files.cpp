#include "run/explanation_files.h"

#include "position/input_error.h"
#include "run/atomic_file.h"
#include "run/explain_json.h"
#include "run/explain_page.h"
#include "run/paths.h"
#include "shogi/board.h"
#include "shogi/movegen.h"

namespace fv {

namespace {

// Ten changes are what the page lists.
constexpr int ChangeCount = 10;

bool IsMated(const Position& pos, int sideToMove) {
  Board board;
  board.Set(pos, sideToMove);
  Move moves[MaxMoves];
  return board.InCheck() && GenerateLegal(board, moves) == 0;
}

}  // namespace

ExplanationData GatherExplanation(const Position& searched, const Position& leaf, int pvSide,
                                  const PvMoveList& moves, const std::string& pvText,
                                  const WeightFile& weights, const RunSettings& settings) {
  ExplanationData data;
  data.leaf = leaf;
  data.sideToMove = moves.count() % 2 == 0 ? pvSide : 1 - pvSide;
  data.mated = IsMated(leaf, data.sideToMove);
  data.explanation = ExplainLeaf(leaf, ReadExplanationWeights(leaf, weights), settings.sortMode,
                                 settings.rankCount);
  try {
    data.line = ExplainLine(searched, pvSide, moves, pvText, weights, ChangeCount);
  } catch (const InputError& error) {
    data.lineProblem = error.problem();
  }
  data.sortMode = settings.sortMode;
  data.rankCount = settings.rankCount;
  data.weightFileBytes = weights.size();
  return data;
}

std::vector<FileFailure> WriteExplanationFiles(const ExplanationData& data) {
  const std::string json = ExplanationJson(data);
  std::vector<FileFailure> failures;
  for (const auto& [path, bytes] : {std::pair<std::string, std::string>{ExplanationJsonPath, json},
                                    {ExplanationPagePath, ExplanationPage(data, json)}}) {
    const std::string problem = WriteFileAtomically(path, bytes);
    if (!problem.empty()) failures.push_back({path, problem});
  }
  return failures;
}

}  // namespace fv
