#include "io/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "io/system_error.h"

namespace fv {

namespace {

using Failure = RegularFileOpening::Failure;

struct FailureText {
  const char* text;
  bool withSystemError;  // followed by the errno text in brackets
};

// By Failure: None, Open, Examine, Directory, NotRegular.
constexpr std::array<FailureText, 5> FailureTexts = {{
    {"", false},
    {"cannot open", true},
    {"cannot examine", true},
    {"is a directory", false},
    {"is not a regular file", false},
}};

}  // namespace

RegularFileOpening OpenRegularFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {-1, Failure::Open, errno, 0};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return {-1, Failure::Examine, error, 0};
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return {-1, S_ISDIR(info.st_mode) ? Failure::Directory : Failure::NotRegular, 0, 0};
  }
  return {fd, Failure::None, 0, static_cast<std::uint64_t>(info.st_size)};
}

std::string OpeningProblem(const RegularFileOpening& opening) {
  const FailureText& failure = FailureTexts[static_cast<std::size_t>(opening.failure)];
  return failure.withSystemError ? SystemProblem(failure.text, opening.error) : failure.text;
}

}  // namespace fv
