#include "position/line_reader.h"

#include <cerrno>
#include <cstring>

namespace fv {

LineReader::LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "r")) {
  if (!file_) openError_ = std::strerror(errno);
}

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
