// The message of an exception a piece of code throws, for tests of refusals.
#pragma once

#include <string>

namespace fv::test {

// what() of the `Error` that `action` throws, or "" when it throws none.
template <typename Error, typename Action>
std::string ThrownMessage(Action action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

}  // namespace fv::test
