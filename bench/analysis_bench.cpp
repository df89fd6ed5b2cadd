// Time of one evaluation analysis of a full-board leaf, weight reads included,
// with the demonstration weights (written once to a temporary file, or taken
// from FV_BENCH_WEIGHTS).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "eval/analysis.h"
#include "tests/eval/sample_positions.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace {

const std::string& WeightPath() {
  static const std::string path = [] {
    if (const char* given = std::getenv("FV_BENCH_WEIGHTS")) return std::string(given);
    const std::string made = (std::filesystem::temp_directory_path() / "fvexplain-bench-fv.bin").string();
    fv::WriteDemoWeights(made);
    return made;
  }();
  return path;
}

void BM_AnalyzeFullBoardLeaf(benchmark::State& state) {
  const fv::WeightFile weights = fv::WeightFile::Open(WeightPath());
  const fv::Position leaf = fv::sample::StartingPosition();
  for (auto _ : state) benchmark::DoNotOptimize(fv::AnalyzeEvaluation(leaf, weights, 0, 150));
}
BENCHMARK(BM_AnalyzeFullBoardLeaf)->Unit(benchmark::kMillisecond);

void BM_ReadLeafWeights(benchmark::State& state) {
  const fv::WeightFile weights = fv::WeightFile::Open(WeightPath());
  const fv::Position leaf = fv::sample::StartingPosition();
  for (auto _ : state) benchmark::DoNotOptimize(fv::ReadLeafWeights(leaf, weights));
}
BENCHMARK(BM_ReadLeafWeights)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
