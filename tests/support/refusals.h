// Tables of texts a reader refuses, each with a part of its message.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/thrown_message.h"

namespace fv::test {

// Expects `read(text)` to throw an `Error` whose message contains `reason`, for each
// {text, reason} row.
template <typename Error, typename Rows, typename Read>
void ExpectRefusals(const Rows& rows, Read read) {
  for (const auto& [text, reason] : rows) {
    const std::string message = ThrownMessage<Error>([&] { read(text); });
    EXPECT_NE(message.find(reason), std::string::npos)
        << "'" << text << "' gave '" << message << "'";
  }
}

}  // namespace fv::test
