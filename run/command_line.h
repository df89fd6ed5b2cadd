// The command line: one optional ranking order, or a request for help or the version.
#pragma once

#include <cstdio>

#include "run/settings.h"

namespace fv {

enum class Request { Analyse, Help, Version };

struct CommandLine {
  Request request = Request::Analyse;
  RunSettings settings;
};

// Exactly one argument sets the ranking order (see RankingOrderOf) by its atoi ("1x" gives 1, "x1"
// gives 0; numbers beyond the int range saturate), unless it is -h, --help or --version. No
// argument, or two or more, leave the defaults.
CommandLine ParseCommandLine(int argc, const char* const argv[]);

void PrintUsage(std::FILE* out);
void PrintVersion(std::FILE* out);

}  // namespace fv
