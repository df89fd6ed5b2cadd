// log/explain.json and explain.html of whole runs: the data agree with the
// transcript and the report, validate against the schema, and the page loads
// in a browser, also for a mated leaf, an empty PV and a short weight file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/run/chromium.h"
#include "tests/run/example_case.h"

namespace fv::test {
namespace {

using nlohmann::json;

// Sente, to move, is mated: its king on 19 faces Gote's gold on 18, which
// Gote's pawn on 17 guards. Nothing else but Gote's king.
const std::string MatedRecord =
    RecordOf({{51, "-OU"}, {17, "-FU"}, {18, "-KI"}, {19, "+OU"}}, "+\n");

// Validates `instance` against docs/explain.schema.json with python3's jsonschema.
::testing::AssertionResult ValidUnderSchema(const fs::path& instance) {
  if (std::system("python3 -c 'import jsonschema' 2>/dev/null") != 0)
    return ::testing::AssertionFailure()
           << "python3-jsonschema is missing (scripts/test installs it)";
  const std::string check =
      "python3 -c 'import json, sys, jsonschema; "
      "jsonschema.Draft202012Validator(json.load(open(sys.argv[1]))).validate("
      "json.load(open(sys.argv[2])))' " FV_SOURCE_DIR "/docs/explain.schema.json " +
      instance.string();
  if (std::system(check.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << instance << " does not validate";
}

TEST(ExplanationOutput, DataAgreeWithTranscriptAndReport) {
  const auto& [workspace, result] = Example();
  ASSERT_EQ(result.status, 0) << result.err;
  const json data = json::parse(workspace.Read("log/explain.json"));
  const std::string report = workspace.Read("report.html");
  EXPECT_EQ(json::array({data["kkp_w"], data["kpp"], data["total"], data["material"]}),
            json::array({NumberAfter(result.out, "\nKKP="), NumberAfter(result.out, "\nKPP="),
                         NumberAfter(report, "(material+position)="),
                         NumberAfter(report, "<br><br>material=")}));

  // Every ranked term is the transcript's line of its rank; all add up to kpp_w.
  long sum = 0, ranked = 0;
  for (const json& t : data["terms"]) {
    sum += t["value"].get<long>();
    if (t["rank"].is_null()) continue;
    ++ranked;
    const std::string line = std::to_string(t["rank"].get<int>()) +
                             ": value = " + std::to_string(t["value"].get<int>()) + "  [" +
                             t["king"].get<std::string>() + "]-[" + t["a"].get<std::string>() +
                             "]-[" + t["b"].get<std::string>() + "]\n";
    EXPECT_NE(result.out.find("\n" + line), std::string::npos) << line;
  }
  EXPECT_EQ(std::pair(ranked, sum), std::pair(150L, data["kpp_w"].get<long>()));
  long kkp = 0;
  for (const json& t : data["kkp_terms"]) kkp += t["value"].get<long>();
  EXPECT_EQ(kkp, data["kkp_w"].get<long>());
  double shares = 0;
  for (const json& p : data["pieces"]) {
    shares += p["share_w"].get<double>();
    EXPECT_EQ(p["share"].get<double>() * 32, p["share_w"].get<double>());
  }
  EXPECT_EQ(shares, 32.0 * data["material"].get<double>() + kkp + sum);

  // The example's PV has 15 moves and starts with Sente.
  const json& line = data["line"];
  ASSERT_EQ(line.size(), 16u);
  EXPECT_EQ(json::array({line[0]["move"], line[1]["move"], line[15]["total"], line[15]["kpp_w"],
                         data["side_to_move"]}),
            json::array({nullptr, "+2524FU", data["total"], data["kpp_w"], "-"}));
}

// The data of a run validate against the schema, and its page loads in Chromium, draws every piece,
// term and change and the four lines along the PV, and notes what is missing.
void ExpectPageRenders(const Workspace& workspace, const std::vector<std::string>& notes) {
  const json data = json::parse(workspace.Read("log/explain.json"));
  EXPECT_EQ(data["mate"], !notes.empty());
  EXPECT_TRUE(ValidUnderSchema(workspace.dir() / "log/explain.json"));
  const std::optional<std::string> dom = DumpDom(workspace.dir() / "explain.html");
  if (!dom) GTEST_SKIP() << ChromiumPath << " is missing (scripts/test installs chromium)";
  EXPECT_NE(dom->find("data-rendered=\"yes\""), std::string::npos);
  EXPECT_NE(dom->find("<p id=\"script-error\"></p>"), std::string::npos);
  EXPECT_EQ(Occurrences(*dom, "<g class=\"piece"), int(data["pieces"].size()));
  EXPECT_EQ(Occurrences(*dom, "<td class=\"label\">"),
            3 * int(data["terms"].size() + data["changes"].size()));
  EXPECT_EQ(Occurrences(*dom, "<polyline"), 4);
  for (const std::string& note : notes) EXPECT_NE(dom->find(note), std::string::npos) << note;
}

TEST(ExplanationOutput, PageLoadsInChromiumAndSaysWhatIsMissing) {
  ASSERT_EQ(Example().result.status, 0);
  ExpectPageRenders(Example().workspace, {});

  Workspace mated;  // with an empty PV and a short weight file
  mated.UseReplayEngine(MatedRecord, "");
  mated.UseWeights(ChosenWeights, 1000);
  const RunResult result = mated.Run();
  ASSERT_EQ(result.status, 0) << result.err;
  ExpectPageRenders(mated, {"The weight file has 1000 bytes of the 186268248", "The PV is empty",
                            "The leaf is mate: Sente, to move, is in check with no legal move."});
}

}  // namespace
}  // namespace fv::test
