// The error of the notation readers: text that does not describe a position or
// a move. The message starts with the notation's name ("SFEN: ...").
#pragma once

#include <stdexcept>

namespace fv {

class NotationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace fv
