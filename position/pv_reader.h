// Reader of the principal variation from the engine's search log.
#pragma once

#include <cstdio>
#include <string>

#include "shogi/position.h"

namespace fv {

// The PV text holds at most this many characters.
constexpr std::size_t PvTextCapacity = 1023;

// Collects the PV text from the search log and returns the side of its first
// move (Sente when the log does not say). Lines are scanned until one contains "pruning"
// or "hashing"; every line containing "  8  " appends its moves: for the tags
// "1." to "15." the six characters after the sign ("1.+7776FU", "10.+2726FU")
// are appended, a tag missing from the line is looked for in the next line,
// and the sign after "1." sets the side. A missing log, or one without a PV,
// gives the empty text and a warning on `warnings`; a PV longer than the
// capacity keeps the whole moves that fit and warns.
Side ReadPvText(const std::string& path, std::string& text, std::FILE* warnings = stderr);

}  // namespace fv
