// Files of an earlier run, moved out of their folder and kept aside to be
// written over as the new files of that folder.
//
// Creating a file and freeing one both cost the file system dearly where it
// has no journal (a new inode is looked for past every inode freed in the
// last minutes) or trims freed blocks before returning (mounted with
// `discard`). A run that writes as many files as the run before it can
// instead take over the earlier files: each is moved into a hidden holding
// folder (in the temporary folder where that is on the same file system,
// else beside the emptied folder), written over there (its blocks stay
// allocated) and renamed into place under its new name, whole. A taken-over
// file is given what a new file would have: the mode of the umask, the
// current times. Files that a new file could not pass for (owned by someone
// else, linked or open elsewhere, with extended attributes or ACLs) are never
// written over.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace fv {

class SpareFiles {
 public:
  SpareFiles() = default;
  SpareFiles(const SpareFiles&) = delete;
  SpareFiles& operator=(const SpareFiles&) = delete;
  // Removes what is still held (see Drop), waiting for nothing to be freed.
  ~SpareFiles();

  // Prepares a holding folder for the files of `folder`: a hidden folder in
  // the temporary folder, or in the parent of the folder `folder` is or leads
  // to. False, holding nothing, where none can be made or files of `folder`
  // could not be taken over; the caller then removes the files itself.
  bool Open(const std::string& folder);

  // Moves `name` (an entry of `folderFd`, the folder given to Open, just
  // examined as `info`) into the holding folder if it can be taken over
  // later. False if it was left where it is.
  bool Keep(int folderFd, const std::string& name, const struct stat& info);

  // Writes `bytes` as the file `path` (in the folder given to Open) over a
  // held file, which then appears under `path` whole, replacing a file of
  // that name. False if no held file could take them; nothing of `path` has
  // changed then, and the caller writes a new file.
  bool WriteAs(const std::string& path, std::span<const std::uint8_t> bytes);

  // Removes the holding folder with the files not taken. Each removed file is
  // opened (O_PATH) before its name goes, and its descriptor appended to
  // `held`: its space is freed when that is closed.
  void Drop(std::vector<int>& held);

 private:
  struct Spare {
    std::string name;
    off_t blocks;  // 512-byte blocks the file holds
  };
  // The held file best suited to `size` bytes, removed from the list; false
  // if none is left.
  bool Take(std::size_t size, Spare& spare);
  bool WriteInto(const Spare& spare, const std::string& path, std::span<const std::uint8_t> bytes);

  std::mutex mutex_;
  std::vector<Spare> spares_;
  int holdingFd_ = -1;
  int parentFd_ = -1;
  std::string holdingName_;  // the holding folder's name in its parent
  mode_t newFileMode_ = 0;
  gid_t newFileGroup_ = 0;
};

}  // namespace fv
