// The position an engine run searches: a CSA record with the side to move,
// read from untrusted text with the shared record reader, and written back in
// the same form.
#pragma once

#include <string>

#include "shogi/position.h"

namespace fv::engine {

struct PositionRecord {
  Position position;
  Side sideToMove = Sente;
};

// Reads the record at `path` with fv::ReadCsaFile: three header lines, the
// board lines P1 to P9, any hand lines "P+00FU..." / "P-00KA...", and then the
// side-to-move line "+" or "-", which is required here. Throws fv::InputError
// naming `path` when the record cannot be read, when the reader passed over
// anything in it (an unknown cell, a mislabelled board line, a hand entry of
// no hand kind), or when the position cannot be played from (CheckPlayable).
PositionRecord ReadPositionRecord(const std::string& path);

// Throws fv::InputError naming `name` when fv::PositionProblem finds the
// position unusable (kings, piece counts, pieces that can never move), when a
// file holds two unpromoted pawns of a side, or when the side not to move is
// in check.
void CheckPlayable(const PositionRecord& record, const std::string& name);

// The record's text: three header lines, the nine board lines, both hand
// lines and the side to move.
std::string FormatPositionRecord(const PositionRecord& record);

}  // namespace fv::engine
