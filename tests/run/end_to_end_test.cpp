// Whole runs of the example: transcripts and reports, the locale's character
// set, a short weight file.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdlib>
#include <fstream>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

// The example's PV reaches the leaf with these moves; a PV of three moves
// starting with Gote, with a capture by each side.
const std::string GoteFirstLog = "  8  1.-2324FU 2.+2524FU 3.-3324GI\n";
// Ends inside the KKP row (75, 5), after feature 600: 501 and 398 are read,
// 669 reads as 0.
constexpr std::uint64_t ShortFileBytes = 176'584'212 + 2 * ((75 * 81 + 5) * 738 + 601);

// FV_UPDATE_EXPECTED=1 rewrites the expected files from the current output;
// check the difference by hand before committing it.
void CompareWithExpected(const std::string& name, const std::string& actual) {
  const std::string path = "tests/run/expected/" + name;
  if (std::getenv("FV_UPDATE_EXPECTED"))
    std::ofstream(fs::path(FV_SOURCE_DIR) / path, std::ios::binary) << actual;
  EXPECT_EQ(actual, SourceFile(path)) << path;
}

// `text` with the first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// The text converted from Shift_JIS (Windows code page 932, whose wave dash
// and full-width comma the transcript uses) to UTF-8.
std::string ShiftJisToUtf8(const std::string& text) {
  const iconv_t converter = iconv_open("UTF-8", "CP932");
  std::string in = text, out(text.size() * 2, '\0');
  char *from = in.data(), *to = out.data();
  std::size_t left = in.size(), room = out.size();
  const bool converted =
      converter != iconv_t(-1) && iconv(converter, &from, &left, &to, &room) != std::size_t(-1);
  if (converter != iconv_t(-1)) iconv_close(converter);
  if (!converted) throw std::runtime_error("cannot convert from CP932");
  out.resize(out.size() - room);
  return out;
}

TEST(EndToEnd, PreparedCasesMatchTheirTranscriptsAndReports) {
  const auto expect = [](const std::string& name, const std::string& report,
                         const std::string& searchLog, const std::vector<std::string>& arguments,
                         const std::string& err = "") {
    Workspace workspace;
    workspace.UseReplayEngine(Record, searchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.Write("report.html", std::string(5000, 'x'));
    const RunResult result = workspace.Run(arguments);
    EXPECT_EQ(std::to_string(result.status) + result.err, "0" + err) << name;
    CompareWithExpected(name + ".stdout", result.out);
    CompareWithExpected(report + ".report.html", workspace.Read("report.html"));
  };
  // The order of the ranking does not change the report; two arguments: order 0.
  expect("example", "example", SearchLog, {"1", "2"});
  expect("example-order1", "example", SearchLog, {"1"});
  expect("example-order2", "example", SearchLog, {"2"});
  expect("gote-first", "gote-first", GoteFirstLog, {});
  expect("empty-pv", "empty-pv", "", {},
         "fvexplain: ./log/n000.log: warning: cannot open (No such file or directory), "
         "the PV is empty\n");
}

// The example under other locales, and with a short weight file. The
// transcript's Japanese words (the statistics) come in the console's encoding:
// UTF-8 for a UTF-8 locale, also one named but not installed; the Shift_JIS
// bytes otherwise; every other byte, and the report, stay the same. Beyond the
// short file's end lies only Gote's KKP weight of its RY (+320): the KKP sum
// becomes 640 and the total (-50528 + 640 + 33875) / 32 = -500.
TEST(EndToEnd, LocalesAndAShortWeightFileChangeOnlyWhatTheyShould) {
  const std::string utf8 = ShiftJisToUtf8(ExpectedOut);
  ASSERT_NE(utf8, ExpectedOut);
  const std::string shortOut = Replaced(ExpectedOut, "KKP=320\n", "KKP=640\n");
  const std::string shortReport = Replaced(ExpectedReport, "=-510<br>", "=-500<br>");
  const auto expect = [](const char* locale, std::uint64_t bytes, const std::string& out,
                         const std::string& report, const std::string& err = "") {
    Workspace workspace;
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights, bytes);
    const RunResult result = workspace.Run({}, {.locale = locale});
    EXPECT_EQ(std::to_string(result.status) + result.err, "0" + err) << locale;
    EXPECT_EQ(result.out + workspace.Read("report.html"), out + report) << locale;
  };
  expect("C.UTF-8", WeightFileBytes, utf8, ExpectedReport);
  expect("xx_YY.utf8@euro", WeightFileBytes, utf8, ExpectedReport);
  expect("POSIX", WeightFileBytes, ExpectedOut, ExpectedReport);
  expect("ja_JP.SJIS", WeightFileBytes, ExpectedOut, ExpectedReport);
  expect("C", ShortFileBytes, shortOut, shortReport,
         "fvexplain: ./fv.bin: warning: the file has 185559494 bytes, expected 186268248; "
         "the weights beyond its end read as 0\n");
}

}  // namespace
}  // namespace fv::test
