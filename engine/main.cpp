// fvengine: searches one position with the three-piece evaluation of ./fv.bin
// and leaves the position and its search log in ./log, checks its inputs,
// counts perft leaves, or plays through the USI protocol.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command_line.h"
#include "engine/position_record.h"
#include "engine/position_source.h"
#include "engine/search.h"
#include "engine/search_log.h"
#include "engine/settings.h"
#include "engine/usi.h"
#include "engine/weights.h"
#include "eval/weight_file.h"
#include "io/input_error.h"
#include "io/system_error.h"
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

// The position the command line names, else the one engine.conf names, else
// position.csa if it exists, else the usual starting position with Sente to
// move. A ply, from either, needs a record to count its moves in.
PositionRecord LoadRoot(const EngineCommand& command, const EngineSettings& settings,
                        bool lookForDefault) {
  const std::optional<std::string>& source =
      command.positionPath ? command.positionPath : settings.position;
  const std::optional<int> ply = command.ply ? command.ply : settings.ply;
  if (source) return LoadPositionSource(*source, ply);
  if (command.ply)
    throw UsageError("--ply needs a game record: --position FILE or 'position = FILE'");
  if (ply) throw InputError(SettingsFileName, "'ply' needs a game record: 'position = FILE'");
  if (lookForDefault && std::filesystem::exists(DefaultPositionPath))
    return ReadPositionRecord(DefaultPositionPath);
  return PositionRecord{StartPosition(), Sente};
}

// Opens fv.bin and shows its size warning, worded as fvexplain words it.
WeightFile OpenWeights() {
  WeightFile file = WeightFile::Open(WeightPath);
  if (const std::optional<Notice> notice = file.SizeNotice())
    std::fprintf(stderr, "fvengine: %s: %s\n", notice->file.c_str(), notice->message.c_str());
  return file;
}

// One line of the search's progress, flushed at once so that a pipe (such as
// fvexplain's transcript, or a pager) shows it while the search goes on.
void ShowProgress(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

EngineSettings LoadSettings() {
  return std::filesystem::exists(SettingsFileName) ? ReadSettings(SettingsFileName)
                                                   : EngineSettings{};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw InputError(path, "cannot write");
}

int RunSearch(const EngineCommand& command) {
  const EngineSettings settings = LoadSettings();
  const PositionRecord root = LoadRoot(command, settings, true);
  OpenWeights();
  const Weights weights = LoadWeights(WeightPath);
  std::error_code error;
  std::filesystem::create_directories("log", error);
  if (error) throw InputError("log", SystemProblem("cannot create the log folder", error.value()));
  WriteFile("log/game000.csa", FormatPositionRecord(root));

  Board board;
  board.Set(root.position, root.sideToMove);
  SearchHooks hooks;
  hooks.onIteration = [](const Iteration& it) { ShowProgress(IterationLine(it)); };
  ShowProgress(SearchHeading(root.sideToMove, settings.limits));
  const SearchResult result = Search(board, weights, settings.limits, hooks);
  WriteFile("log/n000.log", FormatSearchLog(result, root.sideToMove));
  if (result.unfinishedDepth != 0) ShowProgress(TimeLimitLine(result, settings.limits));
  if (!result.iterations.empty()) ShowProgress(PvLine(result.iterations.back()));
  ShowProgress("search log written to log/n000.log");
  return 0;
}

// Reads every input of a search as the search would, and searches nothing.
int RunCheck(const EngineCommand& command) {
  LoadRoot(command, LoadSettings(), true);
  OpenWeights();
  std::printf("the position, the settings and the weights can be used\n");
  return 0;
}

int RunPerft(const EngineCommand& command) {
  const PositionRecord root = LoadRoot(command, EngineSettings{}, false);
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
