#include "position/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fv {

RegularFileOpening OpenRegularFile(const std::string& path) {
  using Failure = RegularFileOpening::Failure;
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

}  // namespace fv
