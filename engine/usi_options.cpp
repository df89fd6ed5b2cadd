#include "engine/usi_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace fv::engine {
namespace {

constexpr int MaxHashMb = 4096;
constexpr int MaxDepth = 64;

// Reads a spin value within [low, high] into `target`; returns "" or the reason for refusing it.
std::string SetSpin(int& target, std::string_view value, int low, int high) {
  int n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (error != std::errc() || end != value.data() + value.size() || n < low || n > high)
    return "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  target = n;
  return "";
}

struct OptionRow {
  std::string_view name;
  std::string_view type;  // the declaration after "type", without the default
  std::string (*set)(UsiOptions& options, std::string_view value);
  std::string (*defaultText)(const UsiOptions& options);  // after "default", with any bounds
};

constexpr OptionRow OptionTable[] = {
    {"EvalFile", "string",
     [](UsiOptions& o, std::string_view v) {
       if (v.empty()) return std::string("expected a file name");
       o.evalFile = std::string(v);
       return std::string();
     },
     [](const UsiOptions& o) { return o.evalFile; }},
    {"USI_Hash", "spin",
     [](UsiOptions& o, std::string_view v) { return SetSpin(o.hashMb, v, 1, MaxHashMb); },
     [](const UsiOptions& o) {
       return std::to_string(o.hashMb) + " min 1 max " + std::to_string(MaxHashMb);
     }},
    {"USI_Ponder", "check",
     [](UsiOptions& o, std::string_view v) {
       if (v != "true" && v != "false") return std::string("expected true or false");
       o.ponder = v == "true";
       return std::string();
     },
     [](const UsiOptions& o) { return std::string(o.ponder ? "true" : "false"); }},
    {"Depth", "spin",
     [](UsiOptions& o, std::string_view v) { return SetSpin(o.depth, v, 0, MaxDepth); },
     [](const UsiOptions& o) {
       return std::to_string(o.depth) + " min 0 max " + std::to_string(MaxDepth);
     }},
};

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view Trimmed(std::string_view s) {
  const auto begin = s.find_first_not_of(" \t\r\n");
  if (begin == std::string_view::npos) return {};
  return s.substr(begin, s.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace

std::vector<std::string> OptionDeclarations() {
  const UsiOptions defaults;
  std::vector<std::string> lines;
  for (const OptionRow& row : OptionTable)
    lines.push_back("option name " + std::string(row.name) + " type " + std::string(row.type) +
                    " default " + row.defaultText(defaults));
  return lines;
}

std::string SetOption(UsiOptions& options, std::string_view arguments) {
  arguments = Trimmed(arguments);
  if (arguments.substr(0, 5) != "name " && arguments.substr(0, 5) != "name\t")
    return "setoption: expected 'name X value Y'";
  // The name runs up to " value "; the value is the rest of the line.
  const std::string_view rest = Trimmed(arguments.substr(5));
  const std::size_t split = rest.find(" value");
  const std::string_view name = Trimmed(rest.substr(0, split));
  const std::string_view value =
      split == std::string_view::npos ? std::string_view() : Trimmed(rest.substr(split + 6));
  for (const OptionRow& row : OptionTable) {
    if (!SameName(row.name, name)) continue;
    const std::string problem = row.set(options, value);
    if (problem.empty()) return "";
    return "setoption: " + std::string(row.name) + ": " + problem + ", not '" + std::string(value) +
           "'";
  }
  return "setoption: unknown option '" + std::string(name) + "'";
}

}  // namespace fv::engine
