// Speed of the engine: perft from the initial position and from a position
// with many pieces in hand, fixed-depth searches with the demonstration
// weights (written to a file and mapped as the program maps fv.bin), and the
// mapping itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "engine/position_record.h"
#include "engine/search.h"
#include "engine/weights.h"
#include "shogi/board.h"
#include "shogi/perft.h"
#include "shogi/start_position.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace fv::engine {
namespace {

// The demo's middle game: castled kings, bishops in hand.
PositionRecord Midgame() { return ReadPositionRecord(FV_SOURCE_DIR "/examples/demo/position.csa"); }
// Both kings exposed: checks and captures everywhere for the quiescence search.
PositionRecord ExposedKings() {
  return ReadPositionRecord(FV_SOURCE_DIR "/bench/positions/exposed-kings.csa");
}
// 593 legal moves, most of them drops.
PositionRecord ManyInHand() {
  return ReadPositionRecord(FV_SOURCE_DIR "/bench/positions/many-in-hand.csa");
}

// The demonstration weights in the temporary folder, written once.
const std::string& WeightPath() {
  static const std::string path = [] {
    const auto p = (std::filesystem::temp_directory_path() / "fvengine-bench-fv.bin").string();
    WriteDemoWeights(p);
    return p;
  }();
  return path;
}

const Weights& BenchWeights() {
  static const Weights weights = LoadWeights(WeightPath());
  return weights;
}

void BM_MapWeights(benchmark::State& state) {
  const std::string& path = WeightPath();
  for (auto _ : state) benchmark::DoNotOptimize(LoadWeights(path).kpp.data());
}
BENCHMARK(BM_MapWeights)->Unit(benchmark::kMicrosecond);

void CountLeaves(benchmark::State& state, const PositionRecord& root, int depth,
                 std::uint64_t expected) {
  Board board;
  board.Set(root.position, root.sideToMove);
  for (auto _ : state) {
    const std::uint64_t leaves = Perft(board, depth);
    if (leaves != expected) state.SkipWithError("wrong perft count");
    state.counters["leaves"] = double(leaves);
  }
}

void BM_PerftInitialDepth5(benchmark::State& state) {
  CountLeaves(state, {StartPosition(), Sente}, 5, 19'861'490);
}
void BM_PerftManyInHandDepth3(benchmark::State& state) {
  CountLeaves(state, ManyInHand(), 3, 53'393'368);
}
BENCHMARK(BM_PerftInitialDepth5)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PerftManyInHandDepth3)->Unit(benchmark::kMillisecond)->Iterations(1);

void SearchToDepth(benchmark::State& state, const PositionRecord& root, int depth) {
  const Weights& weights = BenchWeights();
  Board board;
  board.Set(root.position, root.sideToMove);
  SearchLimits limits;
  limits.maxDepth = depth;
  for (auto _ : state) {
    const SearchResult result = Search(board, weights, limits);
    state.counters["nodes"] = double(result.stats.nodes);
    state.counters["nps"] = double(result.stats.nodes) * 1000.0 /
                            double(std::max<std::int64_t>(1, result.milliseconds));
    state.counters["depth"] = result.iterations.back().depth;
  }
}

void BM_SearchInitialDepth8(benchmark::State& state) {
  SearchToDepth(state, {StartPosition(), Sente}, 8);
}
void BM_SearchMidgameDepth8(benchmark::State& state) { SearchToDepth(state, Midgame(), 8); }
void BM_SearchExposedKingsDepth4(benchmark::State& state) {
  SearchToDepth(state, ExposedKings(), 4);
}
BENCHMARK(BM_SearchInitialDepth8)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SearchMidgameDepth8)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SearchExposedKingsDepth4)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace fv::engine

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(fv::engine::WeightPath());
  return 0;
}
