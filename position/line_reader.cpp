#include "position/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/regular_file.h"
#include "io/system_error.h"

namespace fv {

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

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

LineReader::LineReader(const std::string& path) : file_(nullptr) {
  file_ = OpenLines(path, openError_);
}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::Next() {
  if (!file_) return false;
  char piece[BufferSize];
  std::memset(piece, '\n', sizeof piece);
  if (!std::fgets(piece, BufferSize, file_)) return false;
  // fgets ends what it read with a NUL; the bytes after it keep the fill, so
  // the last NUL tells how much was read even when the line holds NUL bytes.
  std::size_t bytesRead = BufferSize - 1;
  while (piece[bytesRead] != '\0') --bytesRead;
  const bool pieceEndsLine = bytesRead > 0 && piece[bytesRead - 1] == '\n';
  std::size_t length = std::strlen(piece);
  if (lineNumber_ == 0 && std::strncmp(piece, ByteOrderMark, 3) == 0) {
    std::memmove(piece, piece + 3, length - 2);
    length -= 3;
  }
  const bool endsLine = length > 0 && piece[length - 1] == '\n';
  if (endsLine && length > 1 && piece[length - 2] == '\r') {
    piece[length - 2] = '\n';
    piece[--length] = '\0';
  } else if (!endsLine && length > 0 && piece[length - 1] == '\r' && std::feof(file_)) {
    piece[--length] = '\0';
  }
  std::memcpy(buffer_, piece, length + 1);
  if (lineEnded_) ++lineNumber_;
  lineEnded_ = pieceEndsLine;
  goesOn_ = false;
  if (!pieceEndsLine) {
    const int next = std::getc(file_);
    goesOn_ = next != EOF && next != '\n';
    if (next != EOF) std::ungetc(next, file_);
  }
  return true;
}

bool LineReader::ReadFailed() const { return file_ && std::ferror(file_); }

}  // namespace fv
