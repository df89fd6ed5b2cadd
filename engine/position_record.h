// The position an engine run searches: a CSA record with the side to move,
// read from untrusted text, and written back in the same form.
#pragma once

#include <string>
#include <string_view>

#include "position/position.h"

namespace fv::engine {

struct PositionRecord {
  Position position;
  int sideToMove = Sente;
};

// Parses header lines (ignored: every line before the first one beginning
// with "P1", three in the usual record), the board lines P1 to P9, any hand
// lines "P+00FU..." / "P-00KA...", and the side-to-move line "+" or "-".
// Throws fv::InputError naming `name` when the text is malformed or the
// position cannot arise in a game (see CheckPlayable).
PositionRecord ParsePositionRecord(std::string_view text, const std::string& name);
PositionRecord ReadPositionRecord(const std::string& path);

// Throws fv::InputError unless each side has one king, no kind has more pieces
// than a set holds, no piece stands where it could never move, no column holds
// two unpromoted pawns of a side, and the side not to move is not in check.
void CheckPlayable(const PositionRecord& record, const std::string& name);

// The record's text: three header lines, the nine board lines, both hand
// lines and the side to move.
std::string FormatPositionRecord(const PositionRecord& record);

}  // namespace fv::engine
