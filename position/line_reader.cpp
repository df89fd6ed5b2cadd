#include "position/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/regular_file.h"
#include "io/system_error.h"

namespace fv {

namespace {

// Opens `path` for reading if it is a regular file, else says why not.
std::FILE* OpenLines(const std::string& path, std::string& error) {
  const RegularFileOpening opening = OpenRegularFile(path);
  error = OpeningProblem(opening);
  if (opening.failure != RegularFileOpening::Failure::None) return nullptr;
  std::FILE* file = ::fdopen(opening.fd, "r");
  if (!file) {
    error = SystemProblem("cannot open", errno);
    ::close(opening.fd);
  }
  return file;
}

}  // namespace

LineReader::LineReader(const std::string& path) : file_(nullptr) { file_ = OpenLines(path, openError_); }

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
