// Speed of the pictures of one run: the input and leaf boards and 150 ranked
// terms, each a copy of the leaf board with its mark, encoded and written.
//   build/bench/bench_render --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <array>
#include <cstdio>
#include <filesystem>
#include <random>

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <opencv2/imgcodecs.hpp>

#include "render/board_picture.h"
#include "render/feature_picture.h"
#include "render/picture_writer.h"
#include "render/png_encoder.h"

namespace fv {
namespace {

constexpr int RankedPictures = 150;

// A middle-game position with pieces of every kind, both sides' hands in use.
Position MiddleGame() {
  Position pos;
  const PieceCode back[9] = {KY, KE, GI, KI, OU, KI, GI, KE, KY};
  for (int c = 0; c < 9; ++c) {
    pos.board[c] = static_cast<PieceCode>(-back[c]);
    pos.board[72 + c] = back[c];
    pos.board[18 + c] = -FU;
    pos.board[54 + c] = FU;
  }
  pos.board[1] = 0, pos.board[79] = 0, pos.board[20] = 0, pos.board[56] = 0;
  pos.board[10] = -HI, pos.board[70] = RY, pos.board[40] = -UM, pos.board[47] = TO,
  pos.board[30] = NG;
  pos.hand[Sente][FU] = 2, pos.hand[Sente][KE] = 1, pos.hand[Sente][KA] = 1;
  pos.hand[Gote][FU] = 1, pos.hand[Gote][KE] = 1;
  pos.kingSquare = {76, 4};
  return pos;
}

struct Term {
  MarkValue value;
  int king, first, second;
};

// Terms spread over the whole picture: the king of either side, any two cells.
std::array<Term, RankedPictures> RankedTerms() {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> location(0, LocationCount - 1), value(-4000, 4000);
  std::array<Term, RankedPictures> terms{};
  for (int i = 0; i < RankedPictures; ++i) {
    const int weightUnits = value(random);  // a weight unit is 1/32 of the shown value
    terms[i] = {
        {weightUnits / 32, weightUnits < 0}, i % 2 ? 4 : 76, location(random), location(random)};
  }
  return terms;
}

const PieceImageSet& Pieces() {
  static const PieceImageSet pieces = LoadPieceImages(FV_SOURCE_DIR "/img");
  return pieces;
}

void BM_DrawPosition(benchmark::State& state) {
  const Position pos = MiddleGame();
  cv::Mat board;
  for (auto _ : state) {
    DrawPosition(pos, Pieces(), board);
    benchmark::DoNotOptimize(board.data);
  }
}
BENCHMARK(BM_DrawPosition);

void BM_CopyLeafAndDrawFeature(benchmark::State& state) {
  cv::Mat leaf, picture;
  DrawPosition(MiddleGame(), Pieces(), leaf);
  for (auto _ : state) {
    leaf.copyTo(picture);
    DrawFeature(picture, {-25, true}, 76, 81, 40);
    benchmark::DoNotOptimize(picture.data);
  }
}
BENCHMARK(BM_CopyLeafAndDrawFeature);

void BM_EncodePng(benchmark::State& state) {
  cv::Mat picture;
  DrawPosition(MiddleGame(), Pieces(), picture);
  DrawFeature(picture, {-25, true}, 76, 81, 40);
  PngScratch scratch;
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    bytes.clear();
    EncodePng(picture, scratch, bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_EncodePng);

// For comparison: OpenCV's own PNG writer at its default settings, and at
// zlib's fastest level with the default strategy (the smallest files).
void BM_OpenCvEncodePng(benchmark::State& state) {
  cv::Mat picture;
  DrawPosition(MiddleGame(), Pieces(), picture);
  DrawFeature(picture, {-25, true}, 76, 81, 40);
  std::vector<int> settings;
  if (state.range(0) > 0)
    settings = {cv::IMWRITE_PNG_COMPRESSION, static_cast<int>(state.range(0))};
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) cv::imencode(".png", picture, bytes, settings);
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenCvEncodePng)->Arg(0)->Arg(1);

// The leaf board coded row by row, once per run, for the ranked pictures to
// take over (on one thread).
void BM_MakePngReference(benchmark::State& state) {
  cv::Mat leaf;
  DrawPosition(MiddleGame(), Pieces(), leaf);
  for (auto _ : state) {
    const PngReference reference = MakePngReference(leaf);
    benchmark::DoNotOptimize(reference.rows.data());
  }
}
BENCHMARK(BM_MakePngReference);

void BM_EncodePngOverLeaf(benchmark::State& state) {
  cv::Mat leaf, picture;
  DrawPosition(MiddleGame(), Pieces(), leaf);
  const PngReference leafRows = MakePngReference(leaf);
  leaf.copyTo(picture);
  DrawFeature(picture, {-25, true}, 76, 81, 40);
  PngScratch scratch;
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    bytes.clear();
    EncodePng(picture, scratch, bytes, &leafRows);
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_EncodePngOverLeaf);

// The 152 pictures of one run on `threads` cores: the input board, the leaf
// board, and 150 copies of the leaf with one term each, which take over the
// leaf's coded rows where their mark leaves them unchanged.
void BM_RunPictures(benchmark::State& state) {
  const auto threads = static_cast<unsigned>(state.range(0));
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("fv-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const Position input = [] {
    Position p = MiddleGame();
    p.board[47] = FU;
    return p;
  }();
  const Position leaf = MiddleGame();
  const std::array<Term, RankedPictures> terms = RankedTerms();

  for (auto _ : state) {
    // A run writes into an emptied log folder.
    state.PauseTiming();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      std::filesystem::remove(entry.path());
    state.ResumeTiming();
    cv::Mat leafBoard;
    DrawPosition(leaf, Pieces(), leafBoard);
    const PngReference leafRows = MakePngReference(leafBoard);
    std::vector<PictureJob> jobs;  // as a run makes them
    jobs.push_back(
        {(folder / "init.png").string(), [&](cv::Mat& p) { DrawPosition(input, Pieces(), p); }});
    jobs.push_back({(folder / "leaf.png").string(), [](cv::Mat&) {}, &leafRows, true});
    for (int i = 0; i < RankedPictures; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "rank%03d.png", i + 1);
      jobs.push_back({(folder / name).string(),
                      [&, i](cv::Mat& p) {
                        DrawFeature(p, terms[i].value, terms[i].king, terms[i].first,
                                    terms[i].second);
                      },
                      &leafRows, true,
                      FeatureArea(leafBoard.size(), terms[i].value, terms[i].king, terms[i].first,
                                  terms[i].second)});
    }
    if (!WritePictures(jobs, threads).empty())
      state.SkipWithError("a picture could not be written");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RunPictures)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fv

BENCHMARK_MAIN();
