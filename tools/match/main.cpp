// match: plays fvengine (through its USI mode) against GNU Shogi from a set of
// openings, each twice with colours swapped, and prints the result with its
// Elo difference. Every game is kept as a CSA record.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "io/input_error.h"
#include "tools/match/gnushogi_player.h"
#include "tools/match/match.h"
#include "tools/match/usi_player.h"

namespace fv::match {
namespace {

constexpr const char* Usage =
    "usage: match --fvengine PATH --weights FILE --openings FILE --records DIR [options]\n"
    "  --fvengine PATH        the fvengine program (run as \"fvengine usi\")\n"
    "  --weights FILE         its weight file (USI option EvalFile)\n"
    "  --openings FILE        one opening a line, USI moves from the start position\n"
    "  --records DIR          where the games are kept (gameNNN.csa) and the engines run\n"
    "  --gnushogi PATH        GNU Shogi (default /usr/games/gnushogi)\n"
    "  --fv-ms N              fvengine's time per move in milliseconds (default 100)\n"
    "  --gnushogi-seconds N   GNU Shogi's time per move in seconds (default 1)\n"
    "  --max-plies N          plies after which a game is drawn (default 256)\n"
    "  --games N              games to play (default two per opening)\n";

struct Options {
  std::map<std::string, std::string> values = {{"--fvengine", ""},
                                               {"--weights", ""},
                                               {"--openings", ""},
                                               {"--records", ""},
                                               {"--gnushogi", "/usr/games/gnushogi"},
                                               {"--fv-ms", "100"},
                                               {"--gnushogi-seconds", "1"},
                                               {"--max-plies", "256"},
                                               {"--games", "0"}};

  const std::string& operator[](const std::string& name) const { return values.at(name); }
  // The value of a number option, which must lie in [low, high].
  int Number(const std::string& name, int low, int high) const {
    const std::string& text = values.at(name);
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || n < low || n > high)
      throw InputError("command line", name + " wants a number from " + std::to_string(low) +
                                           " to " + std::to_string(high) + ", not '" + text + "'");
    return n;
  }
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; i += 2) {
    const auto it = options.values.find(argv[i]);
    if (it == options.values.end())
      throw InputError("command line", "unknown argument '" + std::string(argv[i]) + "'");
    if (i + 1 == argc) throw InputError("command line", it->first + " wants a value");
    it->second = argv[i + 1];
  }
  for (const char* name : {"--fvengine", "--weights", "--openings", "--records"})
    if (options[name].empty()) throw InputError("command line", std::string(name) + " is missing");
  return options;
}

int Run(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  MatchSettings settings;
  settings.openings = ReadOpenings(options["--openings"]);
  settings.maxPlies = options.Number("--max-plies", MaxOpeningPlies + 1, 1000);
  settings.games = options.Number("--games", 0, 10000);
  const int fvMs = options.Number("--fv-ms", 1, 600000);
  const int gnuSeconds = options.Number("--gnushogi-seconds", 1, 3600);
  const std::filesystem::path records = std::filesystem::absolute(options["--records"]);
  std::filesystem::create_directories(records);
  settings.recordsDir = records.string();
  const std::string weights = std::filesystem::absolute(options["--weights"]).string();

  UsiPlayer fvengine("fvengine", {options["--fvengine"], "usi"}, {{"EvalFile", weights}}, fvMs,
                     settings.recordsDir, settings.recordsDir + "/fvengine.stderr");
  GnushogiPlayer gnushogi(options["--gnushogi"], gnuSeconds, settings.recordsDir,
                          settings.recordsDir + "/gnushogi.stderr");
  std::printf(
      "fvengine at %d ms per move against gnushogi at %d s per move, %zu openings, "
      "records in %s\n",
      fvMs, gnuSeconds, settings.openings.size(), settings.recordsDir.c_str());
  std::fflush(stdout);
  const MatchOutcome outcome = PlayMatch(fvengine, gnushogi, settings, stdout);
  std::printf("%s\n", SummaryLine(outcome.tally).c_str());
  std::printf("%s\n%s\n", ThinkingLine(fvengine.Name(), outcome.thinking[0]).c_str(),
              ThinkingLine(gnushogi.Name(), outcome.thinking[1]).c_str());
  if (outcome.stopped.empty()) return 0;
  std::printf("match stopped: %s\n", outcome.stopped.c_str());
  return 2;
}

}  // namespace
}  // namespace fv::match

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
    std::fputs(fv::match::Usage, stdout);
    return 0;
  }
  try {
    return fv::match::Run(argc, argv);
  } catch (const fv::InputError& e) {
    std::fprintf(stderr, "match: %s\n%s", e.what(), fv::match::Usage);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "match: %s\n", e.what());
  }
  return 1;
}
