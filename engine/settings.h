// The engine's run settings, read from an optional file of "name = value" lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/search.h"

namespace fv::engine {

// Defaults finish within a few seconds: depth 8, at most 4 seconds, 16 MB of hash.
SearchLimits DefaultLimits();

constexpr const char* SettingsFileName = "engine.conf";

// What engine.conf sets: the search limits, and the position to search when
// it comes from a game record.
struct EngineSettings {
  SearchLimits limits = DefaultLimits();
  std::optional<std::string> position;  // a record file or an SFEN string
  std::optional<int> ply;               // moves of the record to play first
};

// Lines "depth = N" (1..64), "time = MS" (0: no limit), "hash = MB" (1..4096),
// "position = FILE" (a CSA or KIF record or one SFEN line) and "ply = N" (the
// position after N moves of that record); blank lines and text after '#' are
// ignored, and so are blanks around names and values, CRLF line ends and a
// UTF-8 byte-order mark at the start. Unknown names and bad values throw
// fv::InputError naming `name` and the line.
EngineSettings ParseSettings(std::string_view text, const std::string& name);
EngineSettings ReadSettings(const std::string& path);

}  // namespace fv::engine
