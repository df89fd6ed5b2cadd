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
  // Numerator and denominator of each decimal, in the order of the text below.
  const std::int64_t numerators[] = {0, 7, -7, 1, -65, -128, 96, INT64_MIN};
  const int denominators[] = {2, 2, 2, 64, 64, 64, 64, 2};
  std::string texts;
  for (std::size_t n = 0; n < std::size(numerators); ++n)
    texts += ExactDecimal(numerators[n], denominators[n]) + " ";
  EXPECT_EQ(texts, "0 3.5 -3.5 0.015625 -1.015625 -2 1.5 -4611686018427387904 ");
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
  for (const char* shown : {"data-rendered=\"yes\"", "<p id=\"script-error\"></p>",
                            "The leaf has no KPP terms.", "No line: Gote holds 19 FU in hand"})
    EXPECT_NE(dom->find(shown), std::string::npos) << shown;
}

}  // namespace
}  // namespace fv
