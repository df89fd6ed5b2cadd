// The error of the notation readers: text that does not describe a position or
// a move, or a record move that is not legal. The message starts with the
// notation's name ("SFEN: ...", "not a CSA record: ...", "KIF: ...") or with
// the line of a record it was found on ("line 12: ...").
#pragma once

#include <stdexcept>
#include <string>

namespace fv {

class NotationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // A fault on line `line` (counted from 1) of a record; 0 for none.
  NotationError(int line, const std::string& problem)
      : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + problem : problem),
        line_(line) {}

  int line() const { return line_; }

 private:
  int line_ = 0;
};

}  // namespace fv
