// Moves in USI notation: origin and destination as file digit and rank letter
// ("7g7f"), "+" for a promotion ("8h2b+"), a drop as piece letter, "*" and
// destination ("P*5e").
#pragma once

#include <string>
#include <string_view>

#include "shogi/board.h"
#include "shogi/types.h"

namespace fv {

std::string UsiMoveText(Move m);

// The legal move of the side to move on `board` that `text` names. Throws
// NotationError "USI move: ..." when the text is not a move, or names one
// that is not legal in the position. The board is left as it was.
Move ParseUsiMove(Board& board, std::string_view text);

}  // namespace fv
