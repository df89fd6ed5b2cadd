// A game record in whichever notation it is written: CSA, KIF, or one line of
// SFEN.
#pragma once

#include <string_view>

#include "shogi/game_record.h"

namespace fv {

enum class Notation { Csa, Kif, Sfen };

// The notation of a record named `name` that holds `bytes`: by the name's
// ending (.csa, .kif, .kifu, .sfen, in any case), else by its first line that
// is not blank or a CSA comment: one SFEN line, a line beginning as a CSA
// record does (V, N, $, P, + or -), or else KIF.
Notation NotationOf(std::string_view bytes, std::string_view name);

// Reads `bytes` in the notation NotationOf finds (see ReadCsa, ReadKif,
// ReadSfenLine). Throws NotationError.
GameRecord ReadRecord(std::string_view bytes, std::string_view name);

// A position in SFEN as one line, as USI writes it: "position" and "sfen" may
// begin it, "startpos" may stand for the usual start, and "moves" with USI
// moves ("7g7f", "P*5e", "8h2b+") may follow. Throws NotationError ("SFEN: ...",
// "USI move: ...").
GameRecord ReadSfenLine(std::string_view line);

}  // namespace fv
