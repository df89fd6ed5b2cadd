// Time of one evaluation analysis and of one explanation of a full-board leaf,
// weight reads included, with the demonstration weights (written once to a
// temporary file, or taken from FV_BENCH_WEIGHTS).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "eval/analysis.h"
#include "eval/explanation.h"
#include "shogi/start_position.h"
#include "tools/make-demo-weights/demo_weights.h"

namespace {

const std::string& WeightPath() {
  static const std::string path = [] {
    if (const char* given = std::getenv("FV_BENCH_WEIGHTS")) return std::string(given);
    const std::string made =
        (std::filesystem::temp_directory_path() / "fvexplain-bench-fv.bin").string();
    fv::WriteDemoWeights(made);
    return made;
  }();
  return path;
}

void BM_AnalyzeFullBoardLeaf(benchmark::State& state) {
  const fv::WeightFile weights = fv::WeightFile::Open(WeightPath());
  const fv::EvaluableLeaf leaf = fv::MakeEvaluableLeaf(fv::StartPosition());
  for (auto _ : state) {
    benchmark::DoNotOptimize(fv::AnalyzeEvaluation(leaf, fv::ReadLeafWeights(leaf, weights),
                                                   fv::RankingOrder::LargestMagnitudeFirst, 150));
  }
}
BENCHMARK(BM_AnalyzeFullBoardLeaf)->Unit(benchmark::kMillisecond);

void BM_ReadLeafWeights(benchmark::State& state) {
  const fv::WeightFile weights = fv::WeightFile::Open(WeightPath());
  const fv::EvaluableLeaf leaf = fv::MakeEvaluableLeaf(fv::StartPosition());
  for (auto _ : state) benchmark::DoNotOptimize(fv::ReadLeafWeights(leaf, weights));
}
BENCHMARK(BM_ReadLeafWeights)->Unit(benchmark::kMillisecond);

// The explanation of the same leaf: its weights (the rows of every square a
// piece could move to) and the shares, totals without each piece and heat maps.
void BM_ExplainFullBoardLeaf(benchmark::State& state) {
  const fv::WeightFile weights = fv::WeightFile::Open(WeightPath());
  const fv::Position leaf = fv::StartPosition();
  for (auto _ : state) {
    benchmark::DoNotOptimize(fv::ExplainLeaf(leaf, fv::ReadExplanationWeights(leaf, weights),
                                             fv::RankingOrder::LargestMagnitudeFirst, 150));
  }
}
BENCHMARK(BM_ExplainFullBoardLeaf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
