#include "run/log_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "position/input_error.h"

namespace fv {

namespace {

std::string SystemError() { return std::strerror(errno); }

// Closes the directory stream on every way out.
struct DirectoryStream {
  DIR* dir;
  ~DirectoryStream() {
    if (dir) closedir(dir);
  }
};

}  // namespace

void EmptyLogFolder(const std::string& folder) {
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) {
    if (errno != ENOENT) throw InputError(folder, "cannot examine (" + SystemError() + ")");
    if (lstat(folder.c_str(), &info) == 0) throw InputError(folder, "is a link to a missing folder");
    if (mkdir(folder.c_str(), 0777) != 0) throw InputError(folder, "cannot create (" + SystemError() + ")");
    return;
  }
  if (!S_ISDIR(info.st_mode)) throw InputError(folder, "is not a directory");
  DirectoryStream stream{opendir(folder.c_str())};
  if (!stream.dir) throw InputError(folder, "cannot open (" + SystemError() + ")");
  while (const dirent* entry = readdir(stream.dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    if (lstat(path.c_str(), &info) != 0) throw InputError(path, "cannot examine (" + SystemError() + ")");
    if (S_ISDIR(info.st_mode)) continue;
    if (unlink(path.c_str()) != 0) throw InputError(path, "cannot remove (" + SystemError() + ")");
  }
}

}  // namespace fv
