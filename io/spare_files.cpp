#include "io/spare_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace fv {

namespace {

// Zeros that fill a file's last block, up to this block size.
constexpr std::size_t MostPaddedBlock = 65536;
const std::uint8_t Zeros[MostPaddedBlock] = {};

// The umask of the process, read without changing it (other threads may be
// creating files); -1 where /proc cannot tell.
int CurrentUmask() {
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (!status) return -1;
  int mask = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status)) {
    unsigned value;
    if (std::sscanf(line, "Umask: %o", &value) == 1) {
      mask = static_cast<int>(value & 0777);
      break;
    }
  }
  std::fclose(status);
  return mask;
}

// Where the holding folder goes: the temporary folder where it is on the
// same file system as `folder` (out of sight of the engine, which runs in the
// parent of the log folder), else the parent of the folder `folder` is or
// leads to. "" if neither can be found.
std::string HoldingPlace(const std::string& folder, dev_t device) {
  std::error_code error;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
  struct stat info {};
  if (!error && ::stat(temporary.c_str(), &info) == 0 && info.st_dev == device)
    return temporary.string();
  const std::filesystem::path real = std::filesystem::canonical(folder, error);
  if (error || !real.has_parent_path()) return "";
  return real.parent_path().string();
}

bool WriteAt(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size, offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
    offset += written;
  }
  return true;
}

// A process stopped by a signal while files are held removes the holding
// folder first, so that nothing of the earlier run stays behind. The handler
// touches nothing but descriptors and a name fixed before it is installed.
struct HoldingForSignals {
  std::atomic<int> holdingFd{-1};
  int parentFd = -1;
  char name[64] = {};
};
HoldingForSignals signalHolding;
constexpr int CleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveHeldEntries(int folderFd) {
  alignas(8) char buffer[4096];
  for (;;) {
    ::lseek(folderFd, 0, SEEK_SET);
    const long got = ::syscall(SYS_getdents64, folderFd, buffer, sizeof buffer);
    if (got <= 0) return;
    bool removed = false;
    for (long at = 0; at < got;) {
      struct Entry {
        std::uint64_t inode;
        std::int64_t offset;
        unsigned short length;
        unsigned char type;
        char name[1];
      };
      const Entry* entry = reinterpret_cast<const Entry*>(buffer + at);
      const bool dots =
          entry->name[0] == '.' &&
          (entry->name[1] == '\0' || (entry->name[1] == '.' && entry->name[2] == '\0'));
      if (!dots && ::unlinkat(folderFd, entry->name, 0) == 0) removed = true;
      at += entry->length;
    }
    if (!removed) return;
  }
}

// Holding folders are named by this and the number of their process.
constexpr std::string_view HoldingPrefix = ".fvexplain-previous-";

// Removes the holding folders in `parentFd` (and their files) that a process
// of this user left when it was killed outright: their process is gone.
void RemoveLeftHoldingFolders(int parentFd) {
  DIR* dir = ::fdopendir(::dup(parentFd));
  if (!dir) return;
  std::vector<std::string> left;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(HoldingPrefix)) continue;
    const long pid = std::strtol(name.data() + HoldingPrefix.size(), nullptr, 10);
    struct stat info {};
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH &&
        ::fstatat(parentFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(info.st_mode) && info.st_uid == ::geteuid())
      left.emplace_back(name);
  }
  ::closedir(dir);
  for (const std::string& name : left) {
    const int fd =
        ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    RemoveHeldEntries(fd);
    ::close(fd);
    ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR);
  }
}

void RemoveHoldingOnSignal(int signal) {
  const int holding = signalHolding.holdingFd.exchange(-1);
  if (holding >= 0) {
    RemoveHeldEntries(holding);
    ::unlinkat(signalHolding.parentFd, signalHolding.name, AT_REMOVEDIR);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Installs the handler for the signals whose handling is the default one.
void CleanUpOnSignals(int holdingFd, int parentFd, const std::string& name) {
  if (signalHolding.holdingFd.load() >= 0 || name.size() >= sizeof signalHolding.name) return;
  signalHolding.parentFd = parentFd;
  std::memcpy(signalHolding.name, name.c_str(), name.size() + 1);
  signalHolding.holdingFd.store(holdingFd);
  for (const int signal : CleanedSignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction handler {};
    handler.sa_handler = RemoveHoldingOnSignal;
    sigemptyset(&handler.sa_mask);
    ::sigaction(signal, &handler, nullptr);
  }
}

void StopCleaningUpOnSignals(int holdingFd) {
  int expected = holdingFd;
  if (!signalHolding.holdingFd.compare_exchange_strong(expected, -1)) return;
  for (const int signal : CleanedSignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == RemoveHoldingOnSignal)
      std::signal(signal, SIG_DFL);
  }
}

}  // namespace

SpareFiles::~SpareFiles() {
  std::vector<int> held;
  Drop(held);
  for (const int fd : held) ::close(fd);
}

bool SpareFiles::Open(const std::string& folder) {
  if (holdingFd_ >= 0) return false;
  const int mask = CurrentUmask();
  struct stat folderInfo {};
  if (mask < 0 || ::stat(folder.c_str(), &folderInfo) != 0) return false;
  // New files take their mode from a default ACL instead of the umask.
  if (::getxattr(folder.c_str(), "system.posix_acl_default", nullptr, 0) >= 0) return false;
  newFileMode_ = static_cast<mode_t>(0666 & ~mask);
  newFileGroup_ = (folderInfo.st_mode & S_ISGID) ? folderInfo.st_gid : ::getegid();

  const std::string parent = HoldingPlace(folder, folderInfo.st_dev);
  if (parent.empty()) return false;
  parentFd_ = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd_ < 0) return false;
  RemoveLeftHoldingFolders(parentFd_);
  std::string pattern = parent + "/";
  pattern += HoldingPrefix;
  pattern += std::to_string(::getpid()) + "-XXXXXX";
  const bool made = ::mkdtemp(pattern.data()) != nullptr;
  if (made) holdingFd_ = ::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (holdingFd_ < 0) {
    if (made) ::rmdir(pattern.c_str());
    ::close(parentFd_);
    parentFd_ = -1;
    return false;
  }
  holdingName_ = std::filesystem::path(pattern).filename().string();
  CleanUpOnSignals(holdingFd_, parentFd_, holdingName_);
  return true;
}

bool SpareFiles::Keep(int folderFd, const std::string& name, const struct stat& info) {
  if (holdingFd_ < 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
      info.st_uid != ::geteuid() || info.st_gid != newFileGroup_)
    return false;
  if (::renameat(folderFd, name.c_str(), holdingFd_, name.c_str()) != 0) return false;
  std::lock_guard lock(mutex_);
  spares_.push_back({name, info.st_blocks});
  return true;
}

// The largest file not larger than the new content (it keeps its blocks and
// gains some), else the smallest (it gives up the fewest).
bool SpareFiles::Take(std::size_t size, Spare& spare) {
  std::lock_guard lock(mutex_);
  if (spares_.empty()) return false;
  const off_t needed = static_cast<off_t>((size + 4095) / 4096 * 8);
  auto best = spares_.end();
  auto smallest = spares_.begin();
  for (auto it = spares_.begin(); it != spares_.end(); ++it) {
    if (it->blocks <= needed && (best == spares_.end() || it->blocks > best->blocks)) best = it;
    if (it->blocks < smallest->blocks) smallest = it;
  }
  if (best == spares_.end()) best = smallest;
  spare = std::move(*best);
  *best = std::move(spares_.back());
  spares_.pop_back();
  return true;
}

bool SpareFiles::WriteAs(const std::string& path, std::span<const std::uint8_t> bytes) {
  Spare spare;
  while (Take(bytes.size(), spare))
    if (WriteInto(spare, path, bytes)) return true;
  return false;
}

// The content goes over the old one from the start; the last block is filled
// with zeros before the file is cut to its size, so that no old block is read
// back from the disk to be written in part.
bool SpareFiles::WriteInto(const Spare& spare, const std::string& path,
                           std::span<const std::uint8_t> bytes) {
  const int fd = ::openat(holdingFd_, spare.name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool done = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
              info.st_uid == ::geteuid() && info.st_gid == newFileGroup_;
  if (done) {
    errno = 0;
    const ssize_t attributes = ::flistxattr(fd, nullptr, 0);
    done = attributes == 0 || (attributes < 0 && errno == ENOTSUP);
  }
  // A write lease is granted only while no other process has the file open
  // (a viewer still showing an earlier picture keeps what it has).
  done = done && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0;
  const std::size_t block = info.st_blksize > 0 ? static_cast<std::size_t>(info.st_blksize) : 4096;
  const std::size_t tail = bytes.size() % block;
  const struct timespec now[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
  done = done && WriteAt(fd, bytes.data(), bytes.size(), 0) &&
         (tail == 0 || block > MostPaddedBlock ||
          WriteAt(fd, Zeros, block - tail, static_cast<off_t>(bytes.size()))) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
         ::fchmod(fd, newFileMode_) == 0 && ::futimens(fd, now) == 0;
  done = ::close(fd) == 0 && done;
  return done && ::renameat(holdingFd_, spare.name.c_str(), AT_FDCWD, path.c_str()) == 0;
}

void SpareFiles::Drop(std::vector<int>& held) {
  if (holdingFd_ >= 0) {
    StopCleaningUpOnSignals(holdingFd_);
    if (DIR* dir = ::fdopendir(::dup(holdingFd_))) {
      while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const int fd = ::openat(holdingFd_, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (::unlinkat(holdingFd_, name.c_str(), 0) == 0 && fd >= 0)
          held.push_back(fd);
        else if (fd >= 0)
          ::close(fd);
      }
      ::closedir(dir);
    }
    ::close(holdingFd_);
    if (parentFd_ >= 0) ::unlinkat(parentFd_, holdingName_.c_str(), AT_REMOVEDIR);
  }
  if (parentFd_ >= 0) ::close(parentFd_);
  holdingFd_ = parentFd_ = -1;
  std::lock_guard lock(mutex_);
  spares_.clear();
}

}  // namespace fv
