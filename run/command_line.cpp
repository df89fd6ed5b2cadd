#include "run/command_line.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace fv {

namespace {

// The number atoi reads (leading blanks, a sign, the digits up to the first
// other character; 0 without a leading number), saturated to the int range
// where atoi's result would be undefined.
int LeadingNumber(const char* text) {
  return int(std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX));
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const argv[]) {
  CommandLine line;
  if (argc != 2) return line;
  const char* argument = argv[1];
  if (!std::strcmp(argument, "-h") || !std::strcmp(argument, "--help"))
    line.request = Request::Help;
  else if (!std::strcmp(argument, "--version"))
    line.request = Request::Version;
  else
    line.settings.order = RankingOrderOf(LeadingNumber(argument));
  return line;
}

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: fvexplain [ORDER]\n"
      "Empties log/, runs ./engine, replays the principal variation it logged and\n"
      "explains the evaluation of the leaf (transcript on standard output,\n"
      "./report.html, pictures in log/).\n"
      "ORDER ranks the position terms: 0 (default) by size, 1 most favourable to\n"
      "Sente first, any other number most favourable to Gote first.\n"
      "  -h, --help   show this text\n"
      "  --version    show the version\n",
      out);
}

void PrintVersion(std::FILE* out) { std::fprintf(out, "fvexplain %s\n", FV_VERSION); }

}  // namespace fv
