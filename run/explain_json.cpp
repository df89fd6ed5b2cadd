#include "run/explain_json.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "eval/location_label.h"
#include "eval/weight_layout.h"
#include "shogi/sfen.h"

namespace fv {

namespace {

using Field = std::pair<std::string_view, std::string>;

// A JSON string; '<' is escaped too, so the text can stand inside a page's script element.
std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\', out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == '<') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Object(std::initializer_list<Field> fields) {
  std::string out = "{";
  for (const Field& field : fields) {
    if (out.size() > 1) out += ", ";
    out += Quote(field.first) + ": " + field.second;
  }
  return out + "}";
}

// One element a line.
std::string Array(const std::vector<std::string>& elements) {
  if (elements.empty()) return "[]";
  std::string out = "[\n";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    out += "    " + elements[i] + (i + 1 < elements.size() ? ",\n" : "\n");
  }
  return out + "  ]";
}

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string Label(int location, int content) {
  return Quote(LocationLabel(location, content).view());
}

// "+GI" for a piece on a square (the label without its square), "+FU*" for a hand slot.
std::string PieceName(int location, int content) {
  const LocationText label = LocationLabel(location, content);
  std::string name(label.view());
  if (location < SquareCount) name.erase(1, 2);
  return Quote(name);
}

std::string SquareName(int location) {
  if (location >= SquareCount) return Quote("hand");
  return Quote(std::to_string(FileOf(location) * 10 + RankOf(location)));
}

std::string Terms(const ExplanationData& data) {
  const Position& leaf = data.leaf;
  const auto& terms = data.explanation.breakdown.terms;
  std::vector<std::string> out;
  out.reserve(terms.size());
  for (std::size_t t = 0; t < terms.size(); ++t) {
    const FeatureContribution& term = terms[t];
    const int rank = data.explanation.ranks[t];
    out.push_back(Object({{"king", Label(term.kingLocation, CellAt(leaf, term.kingLocation))},
                          {"a", Label(term.firstLocation, CellAt(leaf, term.firstLocation))},
                          {"b", Label(term.secondLocation, CellAt(leaf, term.secondLocation))},
                          {"value", Number(term.value)},
                          {"rank", rank > 0 ? Number(rank) : "null"}}));
  }
  return Array(out);
}

std::string KkpTerms(const ExplanationData& data) {
  std::vector<std::string> out;
  for (const KkpTerm& term : data.explanation.kkpTerms) {
    out.push_back(Object({{"piece", Label(term.location, term.content)}, {"value", Number(term.value)}}));
  }
  return Array(out);
}

std::string Pieces(const ExplanationData& data) {
  std::vector<std::string> out;
  for (const PieceShare& p : data.explanation.pieces) {
    out.push_back(Object({{"square", SquareName(p.location)},
                          {"piece", PieceName(p.location, p.content)},
                          {"count", Number(p.location < SquareCount ? 1 : p.content)},
                          {"share_w", ExactDecimal(p.halfUnits, 2)},
                          {"share", ExactDecimal(p.halfUnits, 2 * WeightScale)},
                          {"without", p.without ? Number(*p.without) : "null"}}));
  }
  return Array(out);
}

std::string HeatMaps(const ExplanationData& data) {
  std::vector<std::string> out;
  for (const HeatMap& map : data.explanation.heatMaps) {
    std::string totals = "{";
    for (const SquareTotal& at : map.totals) {
      if (totals.size() > 1) totals += ", ";
      totals += SquareName(at.square) + ": " + Number(at.total);
    }
    out.push_back(Object({{"piece", PieceName(map.location, map.content)},
                          {"from", SquareName(map.location)},
                          {"totals", totals + "}"}}));
  }
  return Array(out);
}

std::string Line(const ExplanationData& data) {
  std::vector<std::string> out;
  for (const LinePoint& p : data.line.points) {
    out.push_back(Object({{"ply", Number(p.ply)},
                          {"move", p.ply == 0 ? "null" : Quote(p.move)},
                          {"total", Number(p.total)},
                          {"material", Number(p.material)},
                          {"kkp_w", Number(p.kkpSum)},
                          {"kpp_w", Number(p.kppSum)}}));
  }
  return Array(out);
}

std::string Changes(const ExplanationData& data) {
  std::vector<std::string> out;
  for (const TermChange& c : data.line.changes) {
    out.push_back(Object({{"king", Label(c.kingLocation, c.kingContent)},
                          {"a", Label(c.firstLocation, c.firstContent)},
                          {"b", Label(c.secondLocation, c.secondContent)},
                          {"before", Number(c.before)},
                          {"after", Number(c.after)}}));
  }
  return Array(out);
}

}  // namespace

std::string ExactDecimal(std::int64_t numerator, int denominator) {
  const bool negative = numerator < 0;
  const std::uint64_t magnitude = negative ? 0 - std::uint64_t(numerator) : std::uint64_t(numerator);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / std::uint64_t(denominator));
  std::uint64_t fraction = magnitude % std::uint64_t(denominator) * (1'000'000 / std::uint64_t(denominator));
  if (fraction == 0) return out;
  std::string digits = std::to_string(fraction);
  digits.insert(0, 6 - digits.size(), '0');
  while (digits.back() == '0') digits.pop_back();
  out += '.';
  return out += digits;
}

std::string ExplanationJson(const ExplanationData& data) {
  const EvaluationBreakdown& b = data.explanation.breakdown;
  const std::string weightFile = Object({{"bytes", Number(std::int64_t(data.weightFileBytes))},
                                         {"expected_bytes", Number(std::int64_t(WeightFileBytes))}});
  std::string out = "{\n";
  const std::initializer_list<Field> fields = {
      {"total", Number(b.total)},
      {"material", Number(b.material)},
      {"kkp_w", Number(b.kkpSum)},
      {"kpp_w", Number(b.kppSum)},
      {"kpp", Number(b.kppSum / WeightScale)},
      {"side_to_move", Quote(data.sideToMove == Sente ? "+" : "-")},
      {"sfen", Quote(FormatSfen(data.leaf, data.sideToMove))},
      {"mate", data.mated ? "true" : "false"},
      {"sort_mode", Number(data.sortMode)},
      {"rank_count", Number(data.rankCount)},
      {"weight_file", weightFile},
      {"terms", Terms(data)},
      {"kkp_terms", KkpTerms(data)},
      {"pieces", Pieces(data)},
      {"heatmaps", HeatMaps(data)},
      {"line", Line(data)},
      {"line_problem", data.lineProblem.empty() ? "null" : Quote(data.lineProblem)},
      {"changes", Changes(data)},
  };
  bool first = true;
  for (const Field& field : fields) {
    out += (first ? "  " : ",\n  ") + Quote(field.first) + ": " + field.second;
    first = false;
  }
  return out + "\n}\n";
}

}  // namespace fv
