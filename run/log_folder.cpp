#include "run/log_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <system_error>

#include "io/input_error.h"
#include "io/system_error.h"

namespace fv {

namespace {

// Threads that close removed files: the disk trims the freed blocks of
// several files at once, and the threads mostly wait for it.
constexpr std::size_t FreeingThreads = 8;
// Files held open at most; the rest are freed as they are removed (the
// process keeps most of its descriptor limit for the run).
constexpr std::size_t MostFilesHeld = 512;

// Closes the directory stream on every way out.
struct DirectoryStream {
  DIR* dir;
  ~DirectoryStream() {
    if (dir) closedir(dir);
  }
};

// Creates `folder` if nothing is there; false if something is there.
bool CreateIfMissing(const std::string& folder) {
  struct stat info;
  if (stat(folder.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) throw InputError(folder, "is not a directory");
    return false;
  }
  if (errno != ENOENT) throw InputError(folder, SystemProblem("cannot examine", errno));
  if (lstat(folder.c_str(), &info) == 0) throw InputError(folder, "is a link to a missing folder");
  if (mkdir(folder.c_str(), 0777) != 0)
    throw InputError(folder, SystemProblem("cannot create", errno));
  return true;
}

}  // namespace

RemovedFiles::RemovedFiles(RemovedFiles&& other) noexcept
    : held_(std::exchange(other.held_, {})),
      freeing_(std::exchange(other.freeing_, {})),
      spares_(std::move(other.spares_)) {}

RemovedFiles& RemovedFiles::operator=(RemovedFiles&& other) noexcept {
  if (this != &other) {
    Free();
    held_ = std::exchange(other.held_, {});
    freeing_ = std::exchange(other.freeing_, {});
    spares_ = std::move(other.spares_);
  }
  return *this;
}

RemovedFiles::~RemovedFiles() { Free(); }

void RemovedFiles::FreeInBackground() {
  if (held_.empty()) return;
  auto next = std::make_shared<std::atomic<std::size_t>>(0);
  auto files = std::make_shared<std::vector<int>>(std::exchange(held_, {}));
  auto closeAll = [next, files] {
    for (std::size_t i = (*next)++; i < files->size(); i = (*next)++) close((*files)[i]);
  };
  const std::size_t threads = std::min(FreeingThreads, files->size());
  try {
    for (std::size_t t = 0; t < threads; ++t) freeing_.emplace_back(closeAll);
  } catch (const std::system_error&) {
    // No thread to spare: the threads started share the work, or it is done here.
    if (freeing_.empty()) closeAll();
  }
}

void RemovedFiles::DropSpares() {
  if (spares_) spares_->Drop(held_);
  spares_.reset();
  FreeInBackground();
}

void RemovedFiles::Free() {
  DropSpares();
  for (std::thread& thread : freeing_) thread.join();
  freeing_.clear();
}

// Each entry is opened (O_PATH: without reading it, also a FIFO or a link)
// before it is unlinked, so that unlinking only drops its name.
RemovedFiles EmptyLogFolder(const std::string& folder) {
  if (CreateIfMissing(folder)) return {};
  DirectoryStream stream{opendir(folder.c_str())};
  if (!stream.dir) throw InputError(folder, SystemProblem("cannot open", errno));
  const int dir = dirfd(stream.dir);
  RemovedFiles removed;
  removed.spares_ = std::make_unique<SpareFiles>();
  if (!removed.spares_->Open(folder)) removed.spares_.reset();
  while (const dirent* entry = readdir(stream.dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    struct stat info;
    if (fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
      throw InputError(path, SystemProblem("cannot examine", errno));
    if (S_ISDIR(info.st_mode)) continue;
    if (removed.spares_ && removed.spares_->Keep(dir, name, info)) continue;
    const bool hold = removed.held_.size() < MostFilesHeld;
    const int fd = hold ? openat(dir, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1;
    if (fd >= 0) removed.held_.push_back(fd);
    if (unlinkat(dir, name.c_str(), 0) != 0)
      throw InputError(path, SystemProblem("cannot remove", errno));
  }
  return removed;
}

}  // namespace fv
