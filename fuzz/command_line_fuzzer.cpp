// The command line from arbitrary argument texts: the input's NUL-separated
// pieces are the arguments. Only a single argument is looked at; it asks for
// help or the version when it is exactly one of those options, and otherwise
// gives the ranking order of its leading number, saturated to the int range.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "run/command_line.h"

namespace {

using namespace fv;

constexpr std::size_t MaxArguments = 4;

// The leading decimal number of `text` after blanks and a sign, saturated.
int LeadingNumber(const std::string& text) {
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments{"fvexplain"};
  std::string_view rest = fuzz::AsText(data, size);
  while (!rest.empty() && arguments.size() <= MaxArguments) {
    const std::size_t end = rest.find('\0');
    arguments.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);

  const CommandLine line = ParseCommandLine(int(arguments.size()), argv.data());
  fuzz::Expect(line.settings.rankCount == RunSettings{}.rankCount,
               "the number of ranked terms is fixed");
  if (arguments.size() != 2) {
    fuzz::Expect(line.request == Request::Analyse &&
                     line.settings.order == RankingOrder::LargestMagnitudeFirst,
                 "other argument counts are ignored");
    return 0;
  }
  const std::string& argument = arguments[1];
  const Request expected = argument == "-h" || argument == "--help" ? Request::Help
                           : argument == "--version"                ? Request::Version
                                                                    : Request::Analyse;
  fuzz::Expect(line.request == expected, "only the exact options ask for help or the version");
  if (expected == Request::Analyse) {
    fuzz::Expect(line.settings.order == RankingOrderOf(LeadingNumber(argument)),
                 "the ranking order is the leading number");
  } else {
    PrintUsage(fuzz::NullStream());
    PrintVersion(fuzz::NullStream());
  }
  return 0;
}
