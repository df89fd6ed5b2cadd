#include "run/engine_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "io/input_error.h"
#include "io/system_error.h"

namespace fv {

namespace {

// Starts the program in a child. A close-on-exec pipe carries the errno of a
// failed exec back to us; a successful exec closes it empty.
pid_t Start(const std::string& program) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0)
    throw InputError(program, SystemProblem("cannot start", errno));
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw InputError(program, SystemProblem("cannot start", error));
  }
  if (child == 0) {
    close(pipeEnds[0]);
    signal(SIGPIPE, SIG_DFL);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    execv(program.c_str(), argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &error, sizeof error);
    _exit(127);
  }
  close(pipeEnds[1]);
  int execError = 0;
  ssize_t got;
  do got = read(pipeEnds[0], &execError, sizeof execError);
  while (got < 0 && errno == EINTR);
  close(pipeEnds[0]);
  if (got == sizeof execError) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    throw InputError(program, SystemProblem("cannot start", execError));
  }
  return child;
}

}  // namespace

void RunEngine(const std::string& program, const std::function<void()>& started,
               std::FILE* warnings) {
  std::fflush(stdout);
  const pid_t child = Start(program);
  if (started) started();
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw InputError(program, SystemProblem("cannot wait for it", errno));
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    std::fprintf(warnings, "fvexplain: %s: warning: ended with status %d\n", program.c_str(),
                 WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    std::fprintf(warnings, "fvexplain: %s: warning: ended by signal %d (%s)\n", program.c_str(),
                 WTERMSIG(status), strsignal(WTERMSIG(status)));
  }
}

}  // namespace fv
