#include "engine/weights.h"

#include <gtest/gtest.h>

#include <string>

#include "position/input_error.h"
#include "tests/support/test_files.h"

namespace fv::engine {
namespace {

TEST(Weights, ShortFilesReadAsZeroBeyondTheirEnd) {
  struct Case {
    const char* what;
    std::string bytes;
    int firstWeight;
    std::size_t lastValue;  // index of the last value the file reaches
    int lastWeight;
  };
  const Case cases[] = {
      {"a value and a half", std::string("\x01\x02\x03", 3), 0x0201, 1, 0x03},
      {"across a page", std::string(5001, '\x01'), 0x0101, 2500, 0x01},
  };
  for (const Case& c : cases) {
    const test::TempFile file(c.bytes);
    const Weights w = LoadWeights(file.path());
    EXPECT_EQ(w.kpp[0], c.firstWeight) << c.what;
    EXPECT_EQ(w.kpp[c.lastValue], c.lastWeight) << c.what;
    EXPECT_EQ(w.kpp[c.lastValue + 1], 0) << c.what;
    EXPECT_EQ(w.kpp[PackedKppValueCount - 1], 0) << c.what;
    EXPECT_EQ(w.kkp[KkpValueCount - 1], 0) << c.what;
  }
}

TEST(Weights, OnlyRegularFilesAreRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"/nonexistent/fv.bin", "cannot open the weight file"},
      {"/tmp", "is a directory, not a weight file"},
      {"/dev/null", "is not a regular file"},
  };
  for (const auto& [path, problem] : cases) {
    try {
      LoadWeights(path);
      ADD_FAILURE() << path;
    } catch (const InputError& e) {
      EXPECT_EQ(e.problem(), problem);
    }
  }
}

}  // namespace
}  // namespace fv::engine
