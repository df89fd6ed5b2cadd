#include "position/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fv {

namespace {

// Opens `path` for reading if it is a regular file. O_NONBLOCK keeps a FIFO
// from blocking the open; a FIFO or a device, which could block or never end,
// is refused like a directory.
std::FILE* OpenRegularFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "r");
  if (!file) {
    error = std::strerror(errno);
    ::close(fd);
  }
  return file;
}

}  // namespace

LineReader::LineReader(const std::string& path) : file_(nullptr) { file_ = OpenRegularFile(path, openError_); }

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::Next() {
  if (!file_) return false;
  char piece[BufferSize];
  if (!std::fgets(piece, BufferSize, file_)) return false;
  std::size_t length = std::strlen(piece);
  const bool endsLine = length > 0 && piece[length - 1] == '\n';
  if (endsLine && length > 1 && piece[length - 2] == '\r') {
    piece[length - 2] = '\n';
    piece[--length] = '\0';
  } else if (!endsLine && length > 0 && piece[length - 1] == '\r' && std::feof(file_)) {
    piece[--length] = '\0';
  }
  std::memcpy(buffer_, piece, length + 1);
  ++lineNumber_;
  return true;
}

bool LineReader::ReadFailed() const { return file_ && std::ferror(file_); }

}  // namespace fv
