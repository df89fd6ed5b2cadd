// Files that appear whole or not at all. The content is written unnamed in
// the folder of the file (O_TMPFILE) and linked under its name once complete;
// where the file system has no unnamed files, or /proc is missing to link
// them, it is written under a hidden temporary name and renamed into place.
// A file that fails, or a process that stops, leaves nothing behind, and an
// earlier file of the name stays until the new one replaces it. A link under
// the name is replaced, never written through.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "io/spare_files.h"

namespace fv {

class AtomicFile {
 public:
  // Starts the file `path`. Throws InputError naming `path` if it cannot be
  // created there or `path` is a directory.
  explicit AtomicFile(const std::string& path);
  // Discards the file if it was not committed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // A buffered stream onto the content, for text written piece by piece.
  std::FILE* Stream();
  // Writes all of `bytes` at once; throws InputError if it cannot.
  void Write(std::span<const std::uint8_t> bytes);
  // Puts the complete file in place under its name. Throws InputError if a
  // write or the placing failed; nothing is left behind then.
  void Commit();

 private:
  void Discard();

  std::string path_;
  std::string temporaryPath_;  // empty while the content is unnamed
  int fd_ = -1;
  std::FILE* stream_ = nullptr;
};

// Writes `bytes` as the file `path`, whole or not at all, over one of
// `spares` where one is left and takes them, else as a new file; throws
// InputError.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         SpareFiles* spares = nullptr);

}  // namespace fv
