// The explanation's writers on their own: exact decimals, and a page for a
// leaf without terms, pieces to choose or a line still renders and says so.
#include "run/explain_page.h"

#include <gtest/gtest.h>

#include <fstream>

#include "run/explain_json.h"
#include "tests/run/chromium.h"
#include "tests/support/temp_folder.h"

namespace fv {
namespace {

TEST(ExplainJson, ExactDecimals) {
  struct Case {
    std::int64_t numerator;
    int denominator;
    const char* text;
  };
  const Case cases[] = {{0, 2, "0"},
                        {7, 2, "3.5"},
                        {-7, 2, "-3.5"},
                        {1, 64, "0.015625"},
                        {-65, 64, "-1.015625"},
                        {-128, 64, "-2"},
                        {96, 64, "1.5"},
                        {INT64_MIN, 2, "-4611686018427387904"}};
  for (const Case& c : cases) EXPECT_EQ(ExactDecimal(c.numerator, c.denominator), c.text) << c.text;
}

TEST(ExplainPage, NothingToShowStillRendersAndSaysWhatIsMissing) {
  ExplanationData data;  // no terms, no pieces, no line, no weight file
  data.leaf.board[76] = OU, data.leaf.board[4] = -OU;
  data.leaf.kingSquare = {76, 4};
  data.lineProblem = "Gote holds 19 FU in hand";
  const std::string json = ExplanationJson(data);
  EXPECT_NE(json.find("\"terms\": [],"), std::string::npos);
  EXPECT_NE(json.find("\"line_problem\": \"Gote holds 19 FU in hand\""), std::string::npos);
  const std::vector<std::string> notes = MissingNotes(data);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[1], "The leaf has no KPP terms to show.");
  EXPECT_EQ(notes[2], "The line along the PV is missing: Gote holds 19 FU in hand.");

  const testing::TempFolder folder;
  std::ofstream(folder.File("page.html")) << ExplanationPage(data, json);
  const std::optional<std::string> dom = test::DumpDom(folder.File("page.html"));
  if (!dom) GTEST_SKIP() << test::ChromiumPath << " is missing (scripts/test installs chromium)";
  EXPECT_NE(dom->find("data-rendered=\"yes\""), std::string::npos);
  EXPECT_NE(dom->find("<p id=\"script-error\"></p>"), std::string::npos);
  EXPECT_NE(dom->find("The leaf has no KPP terms."), std::string::npos);
  EXPECT_NE(dom->find("No line: Gote holds 19 FU in hand"), std::string::npos);
}

}  // namespace
}  // namespace fv
