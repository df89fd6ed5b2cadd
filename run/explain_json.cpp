#include "run/explain_json.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string_view>

#include "eval/location_label.h"
#include "eval/weight_layout.h"
#include "shogi/sfen.h"

namespace fv {

namespace {

// Appends `text` as a JSON string; '<' is escaped too, so that the text can
// stand inside a page's script element.
void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == '<') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

// Writes one JSON object into `out`, field by field, appending only.
class ObjectWriter {
 public:
  explicit ObjectWriter(std::string& out) : out_(out) { out_ += '{'; }
  void End() { out_ += '}'; }

  // A field whose value is already JSON text.
  ObjectWriter& Raw(std::string_view key, std::string_view json) {
    Key(key);
    out_ += json;
    return *this;
  }
  ObjectWriter& Number(std::string_view key, std::int64_t value) {
    Key(key);
    char digits[24];
    out_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    return *this;
  }
  ObjectWriter& Text(std::string_view key, std::string_view text) {
    Key(key);
    AppendQuoted(out_, text);
    return *this;
  }
  ObjectWriter& OptionalNumber(std::string_view key, std::optional<std::int64_t> value) {
    return value ? Number(key, *value) : Raw(key, "null");
  }

 private:
  void Key(std::string_view key) {
    if (!first_) out_ += ", ";
    first_ = false;
    AppendQuoted(out_, key);
    out_ += ": ";
  }
  std::string& out_;
  bool first_ = true;
};

// Writes the JSON array of `items` into `out`, one element a line, each by `write`.
template <typename Items, typename Write>
void AppendArray(std::string& out, const Items& items, Write write) {
  if (std::empty(items)) {
    out += "[]";
    return;
  }
  out += "[\n";
  bool first = true;
  for (const auto& item : items) {
    out += first ? "    " : ",\n    ";
    first = false;
    write(item);
  }
  out += "\n  ]";
}

std::string_view Label(const LocationText& text) { return text.view(); }

// The label of every location of `pos`, made once for the thousands of terms.
std::array<LocationText, LocationCount> Labels(const Position& pos) {
  std::array<LocationText, LocationCount> labels;
  for (int location = 0; location < LocationCount; ++location) {
    labels[std::size_t(location)] = LocationLabel(location, CellAt(pos, location));
  }
  return labels;
}

// "+GI" for a piece on a square (the label without its square), "+FU*" for a hand slot.
std::string PieceName(int location, int content) {
  std::string name(LocationLabel(location, content).view());
  if (location < SquareCount) name.erase(1, 2);
  return name;
}

std::string SquareName(int location) {
  if (location >= SquareCount) return "hand";
  return std::to_string(FileOf(location) * 10 + RankOf(location));
}

// A field whose value is written into `out` by `write`.
template <typename Write>
void AppendField(std::string& out, std::string_view key, Write write) {
  out += out.size() > 2 ? ",\n  " : "  ";
  AppendQuoted(out, key);
  out += ": ";
  write();
}

void AppendTerms(std::string& out, const ExplanationData& data) {
  const std::array<LocationText, LocationCount> labels = Labels(data.leaf);
  auto label = [&labels](int location) { return labels[std::size_t(location)].view(); };
  std::size_t t = 0;
  AppendArray(out, data.explanation.breakdown.terms, [&](const FeatureContribution& term) {
    const int rank = data.explanation.ranks[t++];
    ObjectWriter(out)
        .Text("king", label(term.kingLocation))
        .Text("a", label(term.firstLocation))
        .Text("b", label(term.secondLocation))
        .Number("value", term.value)
        .OptionalNumber("rank", rank > 0 ? std::optional<std::int64_t>(rank) : std::nullopt)
        .End();
  });
}

void AppendKkpTerms(std::string& out, const ExplanationData& data) {
  AppendArray(out, data.explanation.kkpTerms, [&](const KkpTerm& term) {
    ObjectWriter(out)
        .Text("piece", Label(LocationLabel(term.location, term.content)))
        .Number("value", term.value)
        .End();
  });
}

void AppendPieces(std::string& out, const ExplanationData& data) {
  AppendArray(out, data.explanation.pieces, [&](const PieceShare& p) {
    ObjectWriter(out)
        .Text("square", SquareName(p.location))
        .Text("piece", PieceName(p.location, p.content))
        .Number("count", p.location < SquareCount ? 1 : p.content)
        .Raw("share_w", ExactDecimal(p.halfUnits, 2))
        .Raw("share", ExactDecimal(p.halfUnits, 2 * WeightScale))
        .OptionalNumber("without", p.without)
        .End();
  });
}

void AppendHeatMaps(std::string& out, const ExplanationData& data) {
  AppendArray(out, data.explanation.heatMaps, [&](const HeatMap& map) {
    ObjectWriter object(out);
    object.Text("piece", PieceName(map.location, map.content))
        .Text("from", SquareName(map.location));
    std::string totals;
    ObjectWriter squares(totals);
    for (const SquareTotal& at : map.totals) squares.Number(SquareName(at.square), at.total);
    squares.End();
    object.Raw("totals", totals).End();
  });
}

void AppendLine(std::string& out, const ExplanationData& data) {
  AppendArray(out, data.line.points, [&](const LinePoint& p) {
    ObjectWriter object(out);
    object.Number("ply", p.ply);
    if (p.ply == 0)
      object.Raw("move", "null");
    else
      object.Text("move", p.move);
    object.Number("total", p.total)
        .Number("material", p.material)
        .Number("kkp_w", p.kkpSum)
        .Number("kpp_w", p.kppSum)
        .End();
  });
}

void AppendChanges(std::string& out, const ExplanationData& data) {
  AppendArray(out, data.line.changes, [&](const TermChange& c) {
    ObjectWriter(out)
        .Text("king", Label(LocationLabel(c.kingLocation, c.kingContent)))
        .Text("a", Label(LocationLabel(c.firstLocation, c.firstContent)))
        .Text("b", Label(LocationLabel(c.secondLocation, c.secondContent)))
        .Number("before", c.before)
        .Number("after", c.after)
        .End();
  });
}

}  // namespace

std::string ExactDecimal(std::int64_t numerator, int denominator) {
  const bool negative = numerator < 0;
  const std::uint64_t magnitude =
      negative ? 0 - std::uint64_t(numerator) : std::uint64_t(numerator);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / std::uint64_t(denominator));
  std::uint64_t fraction =
      magnitude % std::uint64_t(denominator) * (1'000'000 / std::uint64_t(denominator));
  if (fraction == 0) return out;
  std::string digits = std::to_string(fraction);
  digits.insert(0, 6 - digits.size(), '0');
  while (digits.back() == '0') digits.pop_back();
  out += '.';
  return out += digits;
}

std::string ExplanationJson(const ExplanationData& data) {
  const EvaluationBreakdown& b = data.explanation.breakdown;
  std::string out = "{\n";
  out.reserve(std::size_t(200) * b.terms.size() + 65536);
  auto number = [&out](std::string_view key, std::int64_t value) {
    AppendField(out, key, [&] { out += std::to_string(value); });
  };
  auto text = [&out](std::string_view key, std::string_view value) {
    AppendField(out, key, [&] { AppendQuoted(out, value); });
  };
  number("total", b.total);
  number("material", b.material);
  number("kkp_w", b.kkpSum);
  number("kpp_w", b.kppSum);
  number("kpp", b.kppSum / WeightScale);
  text("side_to_move", data.sideToMove == Sente ? "+" : "-");
  text("sfen", FormatSfen(data.leaf, data.sideToMove));
  AppendField(out, "mate", [&] { out += data.mated ? "true" : "false"; });
  number("sort_mode", int(data.order));
  number("rank_count", data.rankCount);
  AppendField(out, "weight_file", [&] {
    ObjectWriter(out)
        .Number("bytes", std::int64_t(data.weightFileBytes))
        .Number("expected_bytes", std::int64_t(WeightFileBytes))
        .End();
  });
  AppendField(out, "terms", [&] { AppendTerms(out, data); });
  AppendField(out, "kkp_terms", [&] { AppendKkpTerms(out, data); });
  AppendField(out, "pieces", [&] { AppendPieces(out, data); });
  AppendField(out, "heatmaps", [&] { AppendHeatMaps(out, data); });
  AppendField(out, "line", [&] { AppendLine(out, data); });
  if (data.lineProblem.empty()) {
    AppendField(out, "line_problem", [&] { out += "null"; });
  } else {
    text("line_problem", data.lineProblem);
  }
  AppendField(out, "changes", [&] { AppendChanges(out, data); });
  return out + "\n}\n";
}

}  // namespace fv
