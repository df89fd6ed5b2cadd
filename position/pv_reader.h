// Reader of the principal variation from the engine's search log.
#pragma once

#include <string>

#include "position/notice.h"
#include "shogi/position.h"

namespace fv {

// The PV text holds at most this many characters.
constexpr std::size_t PvTextCapacity = 1023;

// Collects the PV text from the search log and returns the side (0 Sente,
// 1 Gote) of its first move. Lines are scanned until one contains "pruning"
// or "hashing"; every line containing "  8  " appends its moves: for the tags
// "1." to "15." the six characters after the sign ("1.+7776FU", "10.+2726FU")
// are appended, a tag missing from the line is looked for in the next line,
// and the sign after "1." sets the side. Moves 2 to 15 found on a later line
// than the "  8  " line must have the form of a move (HasMoveForm): the first
// that has not ends the PV before it, with a warning naming its line.
// Warnings are added to `notices`: a missing log, or one without a PV (the
// text is then empty); a PV longer than the capacity (the whole moves that fit
// are kept); a line longer than the reader's buffer, read in pieces.
Side ReadPvText(const std::string& path, std::string& text, Notices& notices);

}  // namespace fv
