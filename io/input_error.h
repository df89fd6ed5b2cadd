// The one error type of the program: outside input (a file, the command line,
// the working directory) that cannot be used. The entry point prints
// "fvexplain: <file>: <what is wrong>" and ends with status 1.
#pragma once

#include <stdexcept>
#include <string>

namespace fv {

class InputError : public std::runtime_error {
 public:
  InputError(const std::string& file, const std::string& problem)
      : std::runtime_error(file + ": " + problem), file_(file), problem_(problem) {}

  const std::string& file() const { return file_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string file_;
  std::string problem_;
};

}  // namespace fv
