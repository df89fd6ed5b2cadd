#include "run/explain_page.h"

#include <string_view>

#include "eval/weight_layout.h"
#include "run/explain_json.h"
#include "run/explain_page_assets.h"
#include "shogi/sfen.h"

namespace fv {

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Signed(const std::string& number) {
  return number[0] == '-' || number == "0" ? number : "+" + number;
}

std::string SummaryRow(const char* name, const std::string& evaluation, std::int64_t weight,
                       const char* meaning) {
  return std::string("<tr><th>") + name + "</th><td>" + Signed(evaluation) + "</td><td>" +
         Signed(std::to_string(weight)) + "</td><td>" + meaning + "</td></tr>\n";
}

std::string Summary(const ExplanationData& data) {
  const EvaluationBreakdown& b = data.explanation.breakdown;
  const std::int64_t material = std::int64_t{WeightScale} * b.material;
  return "<table id=\"summary\"><thead><tr><th></th><th>evaluation units</th>"
         "<th>weight units (1/32)</th><th>what it is</th></tr></thead><tbody>\n" +
         SummaryRow("total", std::to_string(b.total), material + b.kkpSum + b.kppSum,
                    "The static evaluation of the leaf, positive for Sente: material + KKP + KPP "
                    "in weight units, divided by 32 once (toward zero).") +
         SummaryRow("material", std::to_string(b.material), material,
                    "The values of the pieces on the board and in hand, Sente's less Gote's.") +
         SummaryRow("KKP", ExactDecimal(b.kkpSum, WeightScale), b.kkpSum,
                    "One weight per piece or hand count for where it stands against both kings "
                    "(the transcript's KKP=, in weight units).") +
         SummaryRow("KPP", ExactDecimal(b.kppSum, WeightScale), b.kppSum,
                    "One weight per pair of pieces seen from each king; the transcript's KPP= is "
                    "this divided by 32, toward zero.") +
         "</tbody></table>\n";
}

}  // namespace

std::vector<std::string> MissingNotes(const ExplanationData& data) {
  std::vector<std::string> notes;
  const std::string bytes = std::to_string(data.weightFileBytes);
  const std::string expected = std::to_string(WeightFileBytes);
  if (data.weightFileBytes < WeightFileBytes) {
    notes.push_back("The weight file has " + bytes + " bytes of the " + expected +
                    " its layout needs: every weight beyond its end reads as 0.");
  } else if (data.weightFileBytes > WeightFileBytes) {
    notes.push_back("The weight file has " + bytes + " bytes, more than the " + expected +
                    " of its layout: the bytes beyond are ignored.");
  }
  if (data.explanation.breakdown.terms.empty())
    notes.push_back("The leaf has no KPP terms to show.");
  if (!data.lineProblem.empty()) {
    notes.push_back("The line along the PV is missing: " + data.lineProblem + ".");
  } else if (data.line.points.size() <= 1) {
    notes.push_back(
        "The PV is empty: the leaf is the searched position, and the line has no move.");
  }
  if (data.mated) {
    notes.push_back(std::string("The leaf is mate: ") +
                    (data.sideToMove == Sente ? "Sente" : "Gote") +
                    ", to move, is in check with no legal move. The evaluation shown is still "
                    "the static one of this position.");
  }
  return notes;
}

std::string ExplanationPage(const ExplanationData& data, const std::string& json) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>fvexplain: the evaluation of the leaf</title>\n<style>\n";
  page += ExplanationPageStyle;
  page += "</style>\n</head>\n<body>\n<h1>The evaluation of the leaf, explained</h1>\n";
  page += "<p class=\"sfen\">Leaf: <code>" + Escaped(FormatSfen(data.leaf, data.sideToMove)) +
          "</code></p>\n";
  const std::vector<std::string> notes = MissingNotes(data);
  if (!notes.empty()) {
    page += "<ul id=\"notes\">\n";
    for (const std::string& note : notes) page += "<li>" + Escaped(note) + "</li>\n";
    page += "</ul>\n";
  }
  page += Summary(data);
  page += ExplanationPageBody;
  page +=
      "<script type=\"application/json\" id=\"explain-data\">\n" + json + "</script>\n<script>\n";
  page += ExplanationPageScript;
  page += "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace fv
