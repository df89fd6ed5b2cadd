// Opening outside input only if it is a regular file: a FIFO, a device or a
// directory in its place could block, never end or read as nothing.
#pragma once

#include <cstdint>
#include <string>

namespace fv {

struct RegularFileOpening {
  enum class Failure { None, Open, Examine, Directory, NotRegular };
  int fd = -1;  // open for reading, close-on-exec, when `failure` is None
  Failure failure = Failure::None;
  int error = 0;           // errno of a failed open or fstat
  std::uint64_t size = 0;  // of the file opened
};

// Opens `path` read-only. O_NONBLOCK keeps a FIFO from blocking the open (and
// is harmless on a regular file); anything but a regular file is closed again.
RegularFileOpening OpenRegularFile(const std::string& path);

// Why `opening` failed, as every reader says it: "cannot open (No such file
// or directory)", "cannot examine (...)", "is a directory", "is not a regular
// file". Empty when it did not fail.
std::string OpeningProblem(const RegularFileOpening& opening);

}  // namespace fv
