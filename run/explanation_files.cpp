#include "run/explanation_files.h"

#include <cstdint>
#include <span>

#include "io/atomic_file.h"
#include "io/input_error.h"
#include "run/explain_json.h"
#include "run/explain_page.h"
#include "run/paths.h"
#include "shogi/board.h"
#include "shogi/movegen.h"

namespace fv {

namespace {

// Ten changes are what the page lists.
constexpr int ChangeCount = 10;

bool IsMated(const Position& pos, Side sideToMove) {
  Board board;
  board.Set(pos, sideToMove);
  Move moves[MaxMoves];
  return board.InCheck() && GenerateLegal(board, moves) == 0;
}

}  // namespace

ExplanationData GatherExplanation(const CheckedPv& pv, const WeightFile& weights,
                                  const RunSettings& settings) {
  const Position& leaf = pv.Leaf();
  ExplanationData data;
  data.leaf = leaf;
  data.sideToMove = pv.leafSideToMove;
  data.mated = IsMated(leaf, data.sideToMove);
  data.explanation =
      ExplainLeaf(leaf, ReadExplanationWeights(leaf, weights), settings.order, settings.rankCount);
  try {
    data.line = ExplainLine(pv.positions, pv.moves, weights, ChangeCount);
  } catch (const InputError& error) {
    data.lineProblem = error.problem();
  }
  data.order = settings.order;
  data.rankCount = settings.rankCount;
  data.weightFileBytes = weights.size();
  return data;
}

std::vector<FileFailure> WriteExplanationFiles(const ExplanationData& data, SpareFiles* spares) {
  const std::string json = ExplanationJson(data);
  std::vector<FileFailure> failures;
  for (const auto& [path, bytes] : {std::pair<std::string, std::string>{ExplanationJsonPath, json},
                                    {ExplanationPagePath, ExplanationPage(data, json)}}) {
    const std::span content(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    try {
      WriteFileAtomically(path, content, spares);
    } catch (const InputError& error) {
      failures.push_back({path, error.problem()});
    }
  }
  return failures;
}

}  // namespace fv
