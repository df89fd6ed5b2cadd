// Line-by-line reading of a text file in fgets-sized pieces.
#pragma once

#include <cstdio>
#include <string>

namespace fv {

// Reads a text file the way fgets does with a 1024-byte buffer: one read gives
// at most 1023 characters including the newline, so a longer line arrives in
// pieces. A CR right before the line end is dropped, so CRLF files read like
// LF files, and a UTF-8 byte-order mark at the start of the file is dropped.
// Only a regular file is opened.
class LineReader {
 public:
  static constexpr int BufferSize = 1024;

  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Why the file could not be opened ("cannot open (No such file or
  // directory)", "is not a regular file", ...).
  const std::string& OpenError() const { return openError_; }

  // Reads the next line into the buffer. At end of file or on a read error it
  // returns false and leaves the buffer as it was.
  bool Next();
  bool ReadFailed() const;

  const char* Line() const { return buffer_; }
  // The number of the file's line that the text read last belongs to: the
  // pieces of a long line share it.
  int LineNumber() const { return lineNumber_; }
  // Whether the text read last is a piece of a line too long for the buffer,
  // with more of that line (not just its line end) still to come.
  bool LineGoesOn() const { return goesOn_; }

 private:
  std::FILE* file_;
  std::string openError_;
  char buffer_[BufferSize] = {};
  int lineNumber_ = 0;
  bool lineEnded_ = true;  // the text read last ended its line
  bool goesOn_ = false;
};

}  // namespace fv
