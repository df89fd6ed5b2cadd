#include "engine/weights.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "io/input_error.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"

namespace fv::engine {
namespace {

TEST(Weights, ShortFilesReadAsZeroBeyondTheirEnd) {
  // lastValue: index of the last value the file reaches.
  struct Case {
    const char* what;
    std::string bytes;
    int firstWeight;
    std::size_t lastValue;
    int lastWeight;
  };
  const Case cases[] = {{"a value and a half", std::string("\x01\x02\x03", 3), 0x0201, 1, 0x03},
                        {"across a page", std::string(5001, '\x01'), 0x0101, 2500, 0x01}};
  for (const Case& c : cases) {
    const test::TempFile file(c.bytes);
    const Weights w = LoadWeights(file.path());
    const std::array<int, 5> got = {w.kpp[0], w.kpp[c.lastValue], w.kpp[c.lastValue + 1],
                                    w.kpp[PackedKppValueCount - 1], w.kkp[KkpValueCount - 1]};
    EXPECT_EQ(got, (std::array<int, 5>{c.firstWeight, c.lastWeight, 0, 0, 0})) << c.what;
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
