// A temporary working directory in which the built fvexplain is run.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace fv::test {

namespace fs = std::filesystem;

// The bytes of a file of the source tree.
inline std::string SourceFile(const std::string& path) {
  return FileText(fs::path(FV_SOURCE_DIR) / path);
}

// The whole number written right after `marker` in `text` (a failure without one).
inline int NumberAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  return at == std::string::npos ? 0 : std::stoi(text.substr(at + marker.size()));
}

// One weight of a test weight file, placed by king square and feature indices
// with the file's own arithmetic (written out here, not taken from the
// program): KPP pairs in the packed triangle of their king square, KKP
// features in the row of the two kings.
struct Weight {
  enum Table { Kpp, Kkp } table;
  int king, second, third;  // Kpp: king, i, j; Kkp: own king, other king, feature
  std::int16_t value;

  std::uint64_t ByteOffset() const {
    constexpr std::uint64_t BlockValues = 1476ull * 1477 / 2;
    if (table == Kkp) return 2 * (81 * BlockValues + (king * 81ull + second) * 738 + third);
    const std::uint64_t m = std::max(second, third), n = std::min(second, third);
    return 2 * (king * BlockValues + m * (m + 1) / 2 + n);
  }
};

constexpr std::uint64_t WeightFileBytes = 186'268'248;

struct RunResult {
  int status;  // exit status, or 128 + signal
  std::string out, err;
  bool timedOut = false;  // killed, with everything it started, after the time limit
};

// Where the run's standard output goes: captured, to /dev/full, into a pipe
// whose reading end is closed before the run starts, or nowhere (closed).
enum class RunOutput { Captured, DevFull, ClosedPipe, Closed };

// The user and group "nobody", for runs that must meet file permissions.
constexpr uid_t Nobody = 65534;
constexpr int NobodyCannotRun = 126;

struct RunLimits {
  int seconds = 60;
  off_t fileBytes = 0;       // largest file the run may write (RLIMIT_FSIZE); 0: no limit
  const char* locale = "C";  // LC_ALL of the run: the expected transcripts are the C locale's
  RunOutput output = RunOutput::Captured;
  // Run as nobody when the tests run as root, whom permissions do not stop
  // (see Workspace::HandToNobody); status NobodyCannotRun when nobody may not
  // run fvexplain (a folder on its way closed to others).
  bool asNobody = false;
};

class Workspace {
 public:
  // Starts with a copy of the bundled piece pictures in img/.
  Workspace() { fs::copy(fs::path(FV_SOURCE_DIR) / "img", dir_ / "img"); }

  const fs::path& dir() const { return dir_; }
  void Write(const std::string& path, const std::string& content) const {
    std::ofstream(dir_ / path, std::ios::binary) << content;
  }
  std::string Read(const std::string& path) const { return FileText(dir_ / path); }

  // ./engine is the bundled replay script, replaying these files (an empty
  // text leaves one out).
  void UseReplayEngine(const std::string& record, const std::string& searchLog) const {
    fs::create_directories(dir_ / "replay");
    fs::copy_file(fs::path(FV_SOURCE_DIR) / "examples/replay/engine", dir_ / "replay/engine");
    if (!record.empty()) Write("replay/game000.csa", record);
    if (!searchLog.empty()) Write("replay/n000.log", searchLog);
    fs::create_symlink("replay/engine", dir_ / "engine");
  }

  // ./fv.bin of `bytes` bytes (sparse), all zero but the given weights
  // (those beyond its end are left out).
  void UseWeights(const std::vector<Weight>& weights, std::uint64_t bytes = WeightFileBytes) const {
    Write("fv.bin", "");
    fs::resize_file(dir_ / "fv.bin", bytes);
    std::fstream file(dir_ / "fv.bin", std::ios::binary | std::ios::in | std::ios::out);
    for (const Weight& w : weights)
      if (w.ByteOffset() + 2 <= bytes)
        file.seekp(std::streamoff(w.ByteOffset())).put(char(w.value)).put(char(w.value >> 8));
    if (!file) throw std::runtime_error("cannot write " + (dir_ / "fv.bin").string());
  }

  // ./engine is a shell script with this body.
  void UseEngineScript(const std::string& body) const {
    Write("engine", "#!/bin/sh\n" + body + "\n");
    fs::permissions(dir_ / "engine", fs::perms::owner_all);
  }

  // As root, gives everything here (not what links point to) to nobody, who
  // then runs fvexplain with the owner's permissions (RunLimits::asNobody).
  void HandToNobody() const {
    if (geteuid() != 0) return;
    if (lchown(dir_.c_str(), Nobody, Nobody) != 0) throw std::runtime_error("cannot chown");
    for (const auto& entry : fs::recursive_directory_iterator(dir_))
      if (lchown(entry.path().c_str(), Nobody, Nobody) != 0)
        throw std::runtime_error("cannot chown " + entry.path().string());
  }

  // Runs fvexplain here with an empty standard input, in a process group of
  // its own so that it and its engine are killed after the time limit. A
  // file-size limit makes every write beyond it fail (EFBIG), as a full disk does.
  RunResult Run(const std::vector<std::string>& arguments = {}, RunLimits limits = {}) const {
    // Pipes, not files, carry the output: a file-size limit must not cut it.
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
      throw std::runtime_error("cannot make pipes");
    const pid_t child = fork();
    if (child == 0) {
      setpgid(0, 0);
      if (limits.fileBytes > 0) {
        const rlimit size{rlim_t(limits.fileBytes), rlim_t(limits.fileBytes)};
        setrlimit(RLIMIT_FSIZE, &size);
        std::signal(SIGXFSZ, SIG_IGN);
      }
      if (limits.asNobody && geteuid() == 0 &&
          (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0 ||
           access(FVEXPLAIN_PATH, X_OK) != 0))
        _exit(NobodyCannotRun);
      std::vector<char*> argv{const_cast<char*>(FVEXPLAIN_PATH)};
      for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      dup2(open("/dev/null", O_RDONLY), 0);
      dup2(limits.output == RunOutput::DevFull ? open("/dev/full", O_WRONLY) : outPipe[1], 1);
      if (limits.output == RunOutput::Closed) close(1);
      dup2(errPipe[1], 2);
      setenv("LC_ALL", limits.locale, 1);
      if (chdir(dir_.c_str()) == 0) execv(FVEXPLAIN_PATH, argv.data());
      _exit(127);
    }
    setpgid(child, child);
    close(outPipe[1]), close(errPipe[1]);
    if (limits.output == RunOutput::ClosedPipe || limits.output == RunOutput::Closed)
      close(outPipe[0]), outPipe[0] = open("/dev/null", O_RDONLY);
    RunResult result{};
    std::thread outReader(DrainInto, outPipe[0], std::ref(result.out));
    std::thread errReader(DrainInto, errPipe[0], std::ref(result.err));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(-child, SIGKILL);
        waitpid(child, &status, 0);
        result.timedOut = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(-child, SIGKILL);  // whatever the engine left running
    outReader.join(), errReader.join();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
  }

 private:
  // Reads `fd` to its end into `text`, then closes it.
  static void DrainInto(int fd, std::string& text) {
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR);)
      text.append(buffer, std::size_t(std::max<ssize_t>(got, 0)));
    close(fd);
  }

  fv::testing::TempFolder folder_;
  const fs::path& dir_ = folder_.path();
};

}  // namespace fv::test
