// A child program on pipes: lines written to its standard input, lines read
// from its standard output with a deadline, so that a hung or dead program is
// noticed instead of blocking the caller.
#pragma once

#include <sys/types.h>
#include <chrono>
#include <string>
#include <vector>

namespace fv::match {

class ChildProcess {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts `argv[0]` (searched on PATH) with the arguments `argv` in the folder
  // `workDir`; its standard error goes to `errorLog` (appended). Throws
  // std::runtime_error when the program cannot be started.
  ChildProcess(const std::vector<std::string>& argv, const std::string& workDir,
               const std::string& errorLog);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Sends one line; false when the program no longer reads its input.
  bool WriteLine(const std::string& line);

  enum class ReadStatus { Line, Timeout, Closed };
  // Reads one line (without its end) into `line`, waiting until `deadline`.
  ReadStatus ReadLine(std::string& line, Clock::time_point deadline);

  // Ends the program (closing its input, then SIGTERM, then SIGKILL) and
  // returns how it ended, e.g. "exit status 0" or "killed by signal 11".
  std::string Stop();

 private:
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string pending_;  // bytes read past the last line handed out
  bool closed_ = false;
};

}  // namespace fv::match
