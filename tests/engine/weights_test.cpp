#include "engine/weights.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "io/input_error.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"

namespace fv::engine {
namespace {

TEST(Weights, ShortFilesReadAsZeroBeyondTheirEnd) {
  // The bytes, the first weight, the index of the last value the file reaches and its weight.
  const std::tuple<std::string, int, std::size_t, int> cases[] = {
      {std::string("\x01\x02\x03", 3), 0x0201, 1, 0x03},  // a value and a half
      {std::string(5001, '\x01'), 0x0101, 2500, 0x01},    // across a page
  };
  for (const auto& [bytes, firstWeight, lastValue, lastWeight] : cases) {
    const Weights w = LoadWeights(test::TempFile(bytes).path());
    const std::array<int, 5> got = {w.kpp[0], w.kpp[lastValue], w.kpp[lastValue + 1],
                                    w.kpp[PackedKppValueCount - 1], w.kkp[KkpValueCount - 1]};
    EXPECT_EQ(got, (std::array<int, 5>{firstWeight, lastWeight, 0, 0, 0})) << bytes.size();
  }
}

TEST(Weights, OnlyRegularFilesAreRead) {
  for (const char* problem : {"/nonexistent/fv.bin: cannot open (No such file or directory)",
                              "/tmp: is a directory", "/dev/null: is not a regular file"}) {
    const std::string path = std::string(problem).substr(0, std::string(problem).find(':'));
    EXPECT_EQ(test::ThrownMessage<InputError>([&] { LoadWeights(path); }), problem);
  }
}

}  // namespace
}  // namespace fv::engine
