#include "tools/match/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace fv::match {
namespace {

// Waits up to `patience` for the child to end; true with `status` set when it did.
bool WaitFor(pid_t pid, std::chrono::milliseconds patience, int& status) {
  const auto end = ChildProcess::Clock::now() + patience;
  while (true) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    if (ChildProcess::Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "ended";
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workDir,
                           const std::string& errorLog) {
  // A program that stops reading must give a failed write, not end the driver.
  std::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], report[2];
  if (pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + std::string(strerror(errno)));
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    close(in[0]), close(in[1]);
    throw std::runtime_error("pipe: " + std::string(strerror(errno)));
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    // In the child: only async-signal-safe calls until exec.
    const int err = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (chdir(workDir.c_str()) == 0 && err >= 0 && dup2(in[0], 0) >= 0 && dup2(out[1], 1) >= 0 &&
        dup2(err, 2) >= 0)
      execvp(args[0], args.data());
    const int code = errno;
    (void)!write(report[1], &code, sizeof code);
    _exit(127);
  }
  close(in[0]), close(out[1]), close(report[1]);
  if (pid_ < 0) {
    const int code = errno;
    close(in[1]), close(out[0]), close(report[0]);
    throw std::runtime_error("fork: " + std::string(strerror(code)));
  }
  toChild_ = in[1];
  fromChild_ = out[0];
  int code = 0;
  const ssize_t got = read(report[0], &code, sizeof code);
  close(report[0]);
  if (got == sizeof code) {
    Stop();
    throw std::runtime_error("cannot start " + argv[0] + " in " + workDir + ": " + strerror(code));
  }
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::WriteLine(const std::string& line) {
  if (toChild_ < 0) return false;
  const std::string bytes = line + "\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(toChild_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

ChildProcess::ReadStatus ChildProcess::ReadLine(std::string& line, Clock::time_point deadline) {
  while (true) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      pending_.erase(0, end + 1);
      return ReadStatus::Line;
    }
    if (closed_ || fromChild_ < 0) return ReadStatus::Closed;
    using std::chrono::milliseconds;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ReadStatus::Timeout;
    pollfd fd{fromChild_, POLLIN, 0};
    const int ready = poll(&fd, 1, int(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) closed_ = true;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(fromChild_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closed_ = true;
      if (!pending_.empty()) pending_ += '\n';  // hand out an unfinished last line
      continue;
    }
    pending_.append(buffer, std::size_t(n));
  }
}

std::string ChildProcess::Stop() {
  if (toChild_ >= 0) close(toChild_), toChild_ = -1;
  if (fromChild_ >= 0) close(fromChild_), fromChild_ = -1;
  if (pid_ <= 0) return "not running";
  int status = 0;
  using std::chrono::milliseconds;
  if (!WaitFor(pid_, milliseconds(1000), status)) {
    kill(pid_, SIGTERM);
    if (!WaitFor(pid_, milliseconds(1000), status)) {
      kill(pid_, SIGKILL);
      while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    }
  }
  pid_ = -1;
  return DescribeStatus(status);
}

}  // namespace fv::match
