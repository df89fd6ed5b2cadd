#include "tests/run/workspace.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace fv::test {

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

std::string SourceFile(const std::string& relativePath) { return ReadFile(fs::path(FV_SOURCE_DIR) / relativePath); }

Workspace::Workspace() {
  char name[] = "/tmp/fvexplain-run-XXXXXX";
  dir_ = mkdtemp(name);
}

Workspace::~Workspace() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void Workspace::UseReplayEngine(const std::string& record, const std::string& searchLog) {
  fs::create_directories(dir_ / "replay");
  fs::copy_file(fs::path(FV_SOURCE_DIR) / "examples/replay/engine", dir_ / "replay/engine");
  if (!record.empty()) Write("replay/game000.csa", record);
  if (!searchLog.empty()) Write("replay/n000.log", searchLog);
  fs::create_symlink("replay/engine", dir_ / "engine");
}

void Workspace::UseEngineScript(const std::string& body) {
  Write("engine", "#!/bin/sh\n" + body + "\n");
  fs::permissions(dir_ / "engine", fs::perms::owner_all);
}

void Workspace::Write(const std::string& relativePath, const std::string& content) const {
  std::ofstream(dir_ / relativePath, std::ios::binary) << content;
}

std::string Workspace::Read(const std::string& relativePath) const { return ReadFile(dir_ / relativePath); }

RunResult Workspace::Run(const std::vector<std::string>& arguments) const {
  const fs::path outPath = dir_.string() + ".out", errPath = dir_.string() + ".err";
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv{const_cast<char*>(FVEXPLAIN_PATH)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(dir_.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(FVEXPLAIN_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  RunResult result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(outPath),
                   ReadFile(errPath)};
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

}  // namespace fv::test
