// fvengine: searches one position with the three-piece evaluation of ./fv.bin
// and leaves the position and its search log in ./log, checks its inputs,
// counts perft leaves, or plays through the USI protocol.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command_line.h"
#include "engine/position_record.h"
#include "engine/search.h"
#include "engine/search_log.h"
#include "engine/settings.h"
#include "engine/usi.h"
#include "engine/weights.h"
#include "eval/weight_file.h"
#include "position/input_error.h"
#include "shogi/board.h"
#include "shogi/perft.h"
#include "shogi/start_position.h"

namespace fv::engine {
namespace {

constexpr const char* DefaultPositionPath = "position.csa";
constexpr const char* WeightPath = "fv.bin";
// How long a program started without arguments waits for a GUI's "usi" before
// it searches the position of the working directory.
constexpr int UsiGreetingWaitMs = 500;

// The position a command names, else position.csa if it exists, else the
// usual starting position with Sente to move.
PositionRecord LoadRoot(const EngineCommand& command, bool lookForDefault) {
  if (command.positionPath) return ReadPositionRecord(*command.positionPath);
  if (lookForDefault && std::filesystem::exists(DefaultPositionPath))
    return ReadPositionRecord(DefaultPositionPath);
  return PositionRecord{StartPosition(), Sente};
}

SearchLimits LoadLimits() {
  return std::filesystem::exists(SettingsFileName) ? ReadSettings(SettingsFileName)
                                                   : DefaultLimits();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw InputError(path, "cannot write");
}

int RunSearch(const EngineCommand& command) {
  const SearchLimits limits = LoadLimits();
  const PositionRecord root = LoadRoot(command, true);
  const Weights weights = LoadWeights(WeightPath);
  std::error_code error;
  std::filesystem::create_directories("log", error);
  if (error) throw InputError("log", "cannot create the log folder: " + error.message());
  WriteFile("log/game000.csa", FormatPositionRecord(root));

  Board board;
  board.Set(root.position, root.sideToMove);
  SearchHooks hooks;
  hooks.onIteration = [](const Iteration& it) { std::printf("%s\n", IterationLine(it).c_str()); };
  const SearchResult result = Search(board, weights, limits, hooks);
  const std::string log = FormatSearchLog(result, root.sideToMove);
  WriteFile("log/n000.log", log);
  if (!result.iterations.empty()) std::printf("%s\n", PvLine(result.iterations.back()).c_str());
  std::printf("search log written to log/n000.log\n");
  return 0;
}

// Reads every input of a search as the search would, and searches nothing.
int RunCheck(const EngineCommand& command) {
  LoadLimits();
  LoadRoot(command, true);
  WeightFile::Open(WeightPath, nullptr);
  std::printf("the position, the settings and the weights can be used\n");
  return 0;
}

int RunPerft(const EngineCommand& command) {
  const PositionRecord root = LoadRoot(command, false);
  Board board;
  board.Set(root.position, root.sideToMove);
  std::printf("%llu\n", static_cast<unsigned long long>(Perft(board, command.perftDepth)));
  return 0;
}

int Run(std::span<const std::string_view> args) {
  // A GUI starts the program without arguments and opens with "usi".
  if (args.empty() && InputOpensWithUsi(STDIN_FILENO, UsiGreetingWaitMs)) {
    RunUsi(stdin, stdout, "usi");
    return 0;
  }
  const EngineCommand command = ParseEngineCommand(args);
  switch (command.action) {
    case EngineAction::Search:
      return RunSearch(command);
    case EngineAction::Check:
      return RunCheck(command);
    case EngineAction::Perft:
      return RunPerft(command);
    case EngineAction::Usi:
      RunUsi(stdin, stdout);
      return 0;
    case EngineAction::Help:
      std::fputs(EngineUsage().c_str(), stdout);
      return 0;
    case EngineAction::Version:
      std::printf("fvengine %s\n", FV_VERSION);
      return 0;
  }
  return 0;
}

}  // namespace
}  // namespace fv::engine

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  try {
    return fv::engine::Run(args);
  } catch (const fv::InputError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "fvengine: %s: %s\n", e.file().c_str(), e.problem().c_str());
    return 1;
  } catch (const fv::engine::UsageError& e) {
    std::fprintf(stderr, "fvengine: %s\n%s", e.what(), fv::engine::EngineUsage().c_str());
    return 2;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fvengine: out of memory\n");
    return 1;
  }
}
