#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "io/input_error.h"
#include "io/system_error.h"

namespace fv {

namespace {

// ".<name>.tmp-<pid>-<n>" in the folder of `path`: hidden, and one per file
// of this process.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path target(path);
  std::string name = ".";
  name += target.filename().string();
  name += ".tmp-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter.fetch_add(1));
  return (target.parent_path() / name).string();
}

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// An unnamed file is linked through its /proc/self/fd entry.
bool CanLinkUnnamedFiles() {
  static const bool proc = ::access("/proc/self/fd", X_OK) == 0;
  return proc;
}

// Links the unnamed file `fd` as `path`: directly where the name is free,
// else under a temporary name renamed over the old file. Returns errno of
// what failed, or 0.
int LinkUnnamedFile(int fd, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != EEXIST) return errno;
  const std::string temporary = TemporaryName(path);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0)
    return errno;
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return 0;
  const int error = errno;
  ::unlink(temporary.c_str());
  return error;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path) : path_(path) {
  // A directory cannot be replaced by a file: refuse it before writing.
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
    throw InputError(path, SystemProblem("cannot create", EISDIR));
  if (CanLinkUnnamedFiles()) {
    fd_ = ::open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
      throw InputError(path, SystemProblem("cannot create", errno));
  }
  temporaryPath_ = TemporaryName(path);
  fd_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) throw InputError(path, SystemProblem("cannot create", errno));
}

AtomicFile::~AtomicFile() { Discard(); }

std::FILE* AtomicFile::Stream() {
  if (!stream_) {
    stream_ = ::fdopen(fd_, "w");
    if (!stream_) throw InputError(path_, SystemProblem("cannot write", errno));
  }
  return stream_;
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw InputError(path_, SystemProblem("cannot write", errno));
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

// The descriptor stays open until the content is linked: an unnamed file
// exists only through it.
void AtomicFile::Commit() {
  if (stream_) {
    errno = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_))
      throw InputError(path_, errno != 0 ? SystemProblem("cannot write", errno) : "cannot write");
  }
  int error = 0;
  if (temporaryPath_.empty())
    error = LinkUnnamedFile(fd_, path_);
  else if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
    error = errno;
  if (error != 0) throw InputError(path_, SystemProblem("cannot put the file in place", error));
  temporaryPath_.clear();
  const int closed = stream_ ? std::fclose(stream_) : ::close(fd_);
  stream_ = nullptr;
  fd_ = -1;
  if (closed != 0) {
    error = errno;
    ::unlink(path_.c_str());
    throw InputError(path_, SystemProblem("cannot write", error));
  }
}

void AtomicFile::Discard() {
  if (stream_)
    std::fclose(stream_);
  else if (fd_ >= 0)
    ::close(fd_);
  stream_ = nullptr;
  fd_ = -1;
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         SpareFiles* spares) {
  if (spares && spares->WriteAs(path, bytes)) return;
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace fv
