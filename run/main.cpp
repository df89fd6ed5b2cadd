// fvexplain: lets the engine search, replays its principal variation and
// explains the evaluation of the leaf.
#include <fcntl.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "io/input_error.h"
#include "run/analysis_run.h"
#include "run/command_line.h"

namespace {

// A standard stream that the caller closed is held by /dev/null opened for
// reading: no file of the run can take its number (the transcript would go
// into the report), and writes to it fail, which the run reports.
void HoldClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) ::open("/dev/null", O_RDONLY);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  HoldClosedStandardStreams();
  // A closed pipe on standard output makes a write fail (reported at the end)
  // instead of ending the run half-way; the engine gets the default back.
  std::signal(SIGPIPE, SIG_IGN);
  const fv::CommandLine line = fv::ParseCommandLine(argc, argv);
  if (line.request == fv::Request::Help) {
    fv::PrintUsage(stdout);
    return 0;
  }
  if (line.request == fv::Request::Version) {
    fv::PrintVersion(stdout);
    return 0;
  }
  try {
    return fv::AnalysisRun(line.settings).Execute();
  } catch (const fv::InputError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "fvexplain: %s: %s\n", error.file().c_str(), error.problem().c_str());
    return 1;
  }
}
