// Speed of the engine: perft from the initial position and fixed-depth
// searches with the demonstration weights, written to a file and loaded as
// the program loads fv.bin.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "shogi/board.h"
#include "shogi/perft.h"
#include "engine/position_record.h"
#include "engine/search.h"
#include "shogi/start_position.h"
#include "engine/weights.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace fv::engine {
namespace {

// The demo's middle game: castled kings, bishops in hand.
PositionRecord Midgame() { return ReadPositionRecord(FV_SOURCE_DIR "/examples/demo/position.csa"); }

const Weights& BenchWeights() {
  static const Weights weights = [] {
    const std::string path = (std::filesystem::temp_directory_path() / "fvengine-bench-fv.bin").string();
    WriteDemoWeights(path);
    Weights loaded = LoadWeights(WeightFile::Open(path));
    std::filesystem::remove(path);
    return loaded;
  }();
  return weights;
}

void BM_PerftInitialDepth5(benchmark::State& state) {
  Board board;
  board.Set(StartPosition(), Sente);
  for (auto _ : state) {
    const std::uint64_t leaves = Perft(board, 5);
    if (leaves != 19'861'490) state.SkipWithError("wrong perft count");
    state.counters["leaves"] = double(leaves);
  }
}
BENCHMARK(BM_PerftInitialDepth5)->Unit(benchmark::kMillisecond)->Iterations(1);

void SearchDepth8(benchmark::State& state, const PositionRecord& root) {
  const Weights& weights = BenchWeights();
  Board board;
  board.Set(root.position, root.sideToMove);
  SearchLimits limits;
  limits.maxDepth = 8;
  for (auto _ : state) {
    const SearchResult result = Search(board, weights, limits);
    state.counters["nodes"] = double(result.stats.nodes);
    state.counters["nps"] = double(result.stats.nodes) * 1000.0 / double(std::max<std::int64_t>(1, result.milliseconds));
    state.counters["depth"] = result.iterations.back().depth;
  }
}

void BM_SearchInitialDepth8(benchmark::State& state) { SearchDepth8(state, {StartPosition(), Sente}); }
void BM_SearchMidgameDepth8(benchmark::State& state) { SearchDepth8(state, Midgame()); }
BENCHMARK(BM_SearchInitialDepth8)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SearchMidgameDepth8)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace fv::engine

BENCHMARK_MAIN();
