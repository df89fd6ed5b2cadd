// The position to search or count from when it is named by a game record (a
// CSA or KIF record, or a file holding one SFEN line) or by an SFEN string,
// together with how many of the record's moves to play.
#pragma once

#include <optional>
#include <string>

#include "engine/position_record.h"

namespace fv::engine {

// The most moves of a record a position may be asked after.
constexpr int MaxRecordPly = 100000;

// The position after the first `ply` moves of the record that `source` names
// (after all of them without `ply`; ply 0 is the starting position). `source`
// is a file when one of that name exists, else an SFEN string (see
// fv::ReadSfenLine). Throws fv::InputError naming `source` when the file cannot
// be read, the record is refused (with its line and reason), the record has
// fewer moves than `ply`, or the position cannot be played from
// (CheckPlayable).
PositionRecord LoadPositionSource(const std::string& source, std::optional<int> ply);

}  // namespace fv::engine
