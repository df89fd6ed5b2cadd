// CSA game records, versions 2.x and 3.0: the reader of whole records and the
// writer of the record of a game.
#pragma once

#include <string>
#include <string_view>

#include "shogi/game_record.h"

namespace fv {

// Reads the first game of a CSA record: comment lines ('), the version (V),
// the names (N+, N-), information lines ($), the initial position as PI with
// the pieces removed ("PI82HI22KA"), as the board lines P1 to P9 (a trailing
// blank may be missing) or as piece lines ("P+99KY89KE", "P-00KI", "P+00AL"
// for the remaining pieces in hand), the side to move, and the moves with or
// without time statements (T); statements on one line may be separated by
// commas. A special move (%TORYO, %CHUDAN, %ILLEGAL_MOVE, ...) or the game
// separator "/" ends the record. Every move is played with the rules; a move
// that is not legal is refused unless %ILLEGAL_MOVE (or %+ILLEGAL_ACTION,
// %-ILLEGAL_ACTION) names it as the end of the game, and then the record ends
// before it. Throws NotationError with the line and the reason.
GameRecord ReadCsa(std::string_view text);

// The record of `game` as CSA text: the version and names, the initial
// position (PI for the usual one, else the board lines and both hand lines),
// the side to move and one move a line.
std::string WriteCsa(const GameRecord& game);

}  // namespace fv
