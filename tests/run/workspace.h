// A temporary working directory in which the built fvexplain is run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fv::test {

struct RunResult {
  int status;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& dir() const { return dir_; }

  // Installs the bundled replay engine as ./engine, replaying the given
  // record and search log; an empty text leaves that file out.
  void UseReplayEngine(const std::string& record, const std::string& searchLog);
  // Installs ./engine as a shell script with the given body.
  void UseEngineScript(const std::string& body);

  void Write(const std::string& relativePath, const std::string& content) const;
  std::string Read(const std::string& relativePath) const;

  // Runs fvexplain with the arguments in the directory, standard input empty.
  RunResult Run(const std::vector<std::string>& arguments = {}) const;

 private:
  std::filesystem::path dir_;
};

// The bytes of a file of the source tree.
std::string SourceFile(const std::string& relativePath);

}  // namespace fv::test
