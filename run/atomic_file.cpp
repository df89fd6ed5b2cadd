#include "run/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fv {

namespace {

std::string Problem(const char* what, int error) {
  return std::string(what) + " (" + std::strerror(error) + ")";
}

std::string TemporaryName(const std::string& path) {
  const std::filesystem::path target(path);
  std::string name = ".";
  name += target.filename().string();
  name += ".tmp-";
  name += std::to_string(::getpid());
  return (target.parent_path() / name).string();
}

// Writes all of `bytes` to `fd`; returns 0 or the error number.
int WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return wrote < 0 ? errno : EIO;
    done += std::size_t(wrote);
  }
  return 0;
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = TemporaryName(path);
  ::unlink(temporary.c_str());  // left by an interrupted run of the same process id
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Problem("cannot create", errno);
  int error = WriteAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return Problem("cannot write", error);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    return Problem("cannot put the file in place", error);
  }
  return "";
}

}  // namespace fv
