#include "engine/settings.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "engine/position_source.h"
#include "io/input_error.h"

namespace fv::engine {
namespace {

// Some editors begin a UTF-8 file with it.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string Trim(std::string_view s) {
  const auto begin = s.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  const auto end = s.find_last_not_of(" \t\r");
  return std::string(s.substr(begin, end - begin + 1));
}

long long ParseNumber(const std::string& value, long long low, long long high,
                      const std::string& name, const std::string& where) {
  long long n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (error != std::errc() || end != value.data() + value.size() || n < low || n > high)
    throw InputError(name, where + ": expected a whole number from " + std::to_string(low) +
                               " to " + std::to_string(high) + ", not '" + value + "'");
  return n;
}

const std::string& NonEmpty(const std::string& value, const std::string& name,
                            const std::string& where) {
  if (value.empty()) throw InputError(name, where + ": expected a record file or an SFEN string");
  return value;
}

}  // namespace

SearchLimits DefaultLimits() {
  SearchLimits limits;
  limits.maxDepth = 8;
  limits.timeMs = 4000;
  limits.hashMb = 16;
  return limits;
}

EngineSettings ParseSettings(std::string_view text, const std::string& name) {
  EngineSettings settings;
  SearchLimits& limits = settings.limits;
  if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
  std::istringstream in{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string content = Trim(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    const std::string where = "line " + std::to_string(number);
    const auto equals = content.find('=');
    if (equals == std::string::npos) throw InputError(name, where + ": expected 'name = value'");
    const std::string key = Trim(std::string_view(content).substr(0, equals));
    const std::string value = Trim(std::string_view(content).substr(equals + 1));
    if (key == "depth")
      limits.maxDepth = int(ParseNumber(value, 1, 64, name, where));
    else if (key == "time")
      limits.timeMs = int(ParseNumber(value, 0, 86'400'000, name, where));
    else if (key == "hash")
      limits.hashMb = std::size_t(ParseNumber(value, 1, 4096, name, where));
    else if (key == "position")
      settings.position = NonEmpty(value, name, where);
    else if (key == "ply")
      settings.ply = int(ParseNumber(value, 0, MaxRecordPly, name, where));
    else
      throw InputError(
          name, where + ": unknown setting '" + key + "' (depth, time, hash, position or ply)");
  }
  return settings;
}

EngineSettings ReadSettings(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw InputError(path, "cannot open");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseSettings(text.str(), path);
}

}  // namespace fv::engine
