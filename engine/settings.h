// The engine's run settings, read from an optional file of "name = value" lines.
#pragma once

#include <string>
#include <string_view>

#include "engine/search.h"

namespace fv::engine {

constexpr const char* SettingsFileName = "engine.conf";

// Defaults finish within a few seconds: depth 8, at most 4 seconds, 16 MB of hash.
SearchLimits DefaultLimits();

// Lines "depth = N" (1..64), "time = MS" (0: no limit), "hash = MB" (1..4096);
// blank lines, text after '#', blanks around names and values, CRLF line ends
// and a UTF-8 byte-order mark at the start are ignored. Unknown names and bad values
// throw fv::InputError naming `name` and the line.
SearchLimits ParseSettings(std::string_view text, const std::string& name);
SearchLimits ReadSettings(const std::string& path);

}  // namespace fv::engine
