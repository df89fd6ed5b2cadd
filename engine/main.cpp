// fvengine: searches one position with the three-piece evaluation of ./fv.bin
// and leaves the position and its search log in ./log, or counts perft leaves.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "shogi/board.h"
#include "shogi/perft.h"
#include "engine/position_record.h"
#include "engine/search.h"
#include "engine/search_log.h"
#include "engine/settings.h"
#include "shogi/start_position.h"
#include "engine/weights.h"
#include "io/input_error.h"
#include "io/system_error.h"

namespace fv::engine {
namespace {

constexpr const char* Usage =
    "usage: fvengine                 search the position of the working directory\n"
    "       fvengine --perft N [--position FILE]\n"
    "                                count the leaves of the legal move tree of depth N\n"
    "       fvengine --help\n"
    "\n"
    "A search reads from the working directory:\n"
    "  position.csa  optional CSA record: three header lines, the board lines P1\n"
    "                to P9, hand lines (P+00FU..., P-00KA...) and a line \"+\" or \"-\"\n"
    "                naming the side to move; without it the usual starting\n"
    "                position, Sente to move\n"
    "  engine.conf   optional settings, one 'name = value' a line ('#' starts a comment):\n"
    "                depth = 8     deepest iteration (1 to 64)\n"
    "                time = 4000   milliseconds before the search stops (0: no limit)\n"
    "                hash = 16     megabytes of hash table\n"
    "  fv.bin        the evaluation weights (required)\n"
    "and writes log/game000.csa (the searched position) and log/n000.log (the search log).\n";

struct UsageError {
  std::string message;
};

PositionRecord LoadRoot(const std::string& path) {
  if (std::filesystem::exists(path)) return ReadPositionRecord(path);
  return PositionRecord{StartPosition(), Sente};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw InputError(path, "cannot write");
}

int RunSearch() {
  const SearchLimits limits =
      std::filesystem::exists(SettingsFileName) ? ReadSettings(SettingsFileName) : DefaultLimits();
  const PositionRecord root = LoadRoot("position.csa");
  const Weights weights = LoadWeights("fv.bin");
  std::error_code error;
  std::filesystem::create_directories("log", error);
  if (error) throw InputError("log", SystemProblem("cannot create the log folder", error.value()));
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

int RunPerft(const std::vector<std::string_view>& args) {
  int depth = -1;
  std::string positionPath;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--position" && i + 1 < args.size()) {
      positionPath = std::string(args[++i]);
    } else if (i == 1) {
      const auto [end, ec] = std::from_chars(args[i].data(), args[i].data() + args[i].size(), depth);
      if (ec != std::errc() || end != args[i].data() + args[i].size() || depth < 0 || depth > 12)
        throw UsageError{"--perft needs a depth from 0 to 12"};
    } else {
      throw UsageError{"unexpected argument '" + std::string(args[i]) + "'"};
    }
  }
  if (depth < 0) throw UsageError{"--perft needs a depth"};
  const PositionRecord root = positionPath.empty() ? PositionRecord{StartPosition(), Sente}
                                                   : ReadPositionRecord(positionPath);
  Board board;
  board.Set(root.position, root.sideToMove);
  std::printf("%llu\n", static_cast<unsigned long long>(Perft(board, depth)));
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.empty()) return RunSearch();
  if (args[0] == "--help" || args[0] == "-h") {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (args[0] == "--perft") return RunPerft(args);
  throw UsageError{"unknown argument '" + std::string(args[0]) + "'"};
}

}  // namespace
}  // namespace fv::engine

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  try {
    return fv::engine::Run(args);
  } catch (const fv::InputError& e) {
    std::fprintf(stderr, "fvengine: %s: %s\n", e.file().c_str(), e.problem().c_str());
    return 1;
  } catch (const fv::engine::UsageError& e) {
    std::fprintf(stderr, "fvengine: %s\n%s", e.message.c_str(), fv::engine::Usage);
    return 2;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fvengine: out of memory\n");
    return 1;
  }
}
