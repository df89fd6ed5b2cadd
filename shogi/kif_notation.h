// KIF game records (Shift_JIS .kif and UTF-8 .kifu): the reader of the main
// line and the writer of the record of a game.
#pragma once

#include <string>
#include <string_view>

#include "shogi/game_record.h"

namespace fv {

// Reads the main line of a KIF record, in UTF-8 or (when the bytes are not
// UTF-8) in Shift_JIS: the header lines (手合割 with 平手 or a usual
// handicap, where Gote moves first; other header lines are passed over), a
// board diagram with its 持駒 lines and 先手番/後手番 where the record starts
// from one, and the move lines "  12 ７六歩(77)   ( 0:01/00:00:02)" with 同,
// 成, 不成, 打 and the origin in parentheses, up to an end word (投了, 中断,
// 千日手, 詰み, 持将棋, 反則勝ち, ...) or the first variation (変化：).
// Comment (*), bookmark (&) and note (#) lines are passed over. Every move is
// played with the rules; a move that is not legal is refused unless 反則勝ち,
// 反則負け or 反則手 follows it, and then the record ends before it. Throws
// NotationError with the line and the reason ("KIF: unknown handicap ...").
GameRecord ReadKif(std::string_view bytes);

// The record of `game` as UTF-8 KIF text: 手合割：平手 for the usual start
// with Sente to move, else a board diagram with both 持駒 lines and the side
// to move; then one numbered move a line.
std::string WriteKif(const GameRecord& game);

}  // namespace fv
