// The error of the notation readers: text that does not describe a position or
// a move, or a record move that is not legal. The message starts with the
// notation's name ("SFEN: ...", "not a CSA record: ...", "KIF: ...") or with
// the line of a record it was found on ("line 12: ...").
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace fv {

class NotationError : public std::runtime_error {
 public:
  // The message is kept on one line: control characters quoted from the
  // record (a stray CR, a tab) are shown as \xNN.
  explicit NotationError(const std::string& what) : std::runtime_error(OneLine(what)) {}
  // A fault on line `line` (counted from 1) of a record; 0 for none.
  NotationError(int line, const std::string& problem)
      : NotationError(line > 0 ? "line " + std::to_string(line) + ": " + problem : problem) {
    line_ = line;
  }

  int line() const { return line_; }

 private:
  static std::string OneLine(const std::string& text) {
    std::string shown;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x20 && byte != 0x7f) {
        shown += c;
      } else {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(byte));
        shown += escaped;
      }
    }
    return shown;
  }

  int line_ = 0;
};

}  // namespace fv
