// Emptying the engine's log folder before a run.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "io/spare_files.h"

namespace fv {

// Files already removed from the log folder whose space is not yet given
// back. Freeing a file's blocks can wait for the disk (a file system mounted
// with `discard` trims them before unlink returns: a millisecond or more per
// picture of an earlier run), so each removed file is held open and its
// space is freed when it is closed, on several threads at once, while the
// engine runs. The names are gone at once; nothing in the folder shows the
// files being freed, and a killed process frees them as it ends.
// Regular files of the run before are moved aside instead, where they can,
// to be written over by the new run's files (SpareFiles); those left over
// are freed the same way once the new files are written.
class RemovedFiles {
 public:
  RemovedFiles() = default;
  RemovedFiles(RemovedFiles&& other) noexcept;
  RemovedFiles& operator=(RemovedFiles&& other) noexcept;
  // Frees what is still held (on several threads) and waits for the freeing.
  ~RemovedFiles();

  // Starts closing the held files on threads of their own. A child process
  // forked while they are held must have called exec (which closes its copies)
  // before this: otherwise the child's copy could be the last and the child
  // would wait for the disk.
  void FreeInBackground();

  // The files moved aside for the new files to take over, or none.
  SpareFiles* spares() { return spares_.get(); }
  // Removes the files moved aside that no new file took, and frees them in
  // the background.
  void DropSpares();

 private:
  friend RemovedFiles EmptyLogFolder(const std::string& folder);
  void Free();

  std::vector<int> held_;  // descriptors (O_PATH) of files already unlinked
  std::vector<std::thread> freeing_;
  std::unique_ptr<SpareFiles> spares_;
};

// Removes every entry directly inside `folder` that is not a directory
// (regular files, symbolic links themselves, never their targets); subfolders
// and their contents stay. A link to a folder is followed: that folder's own
// files are removed. Creates the folder if it does not exist. Throws
// InputError if `folder` is not a directory or an entry cannot be removed.
// Returns the removed files whose space is still to be freed, and those kept
// aside to be written over.
RemovedFiles EmptyLogFolder(const std::string& folder);

}  // namespace fv
