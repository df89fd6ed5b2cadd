// Move generation: every legal move of the side to move, or its legal captures.
#pragma once

#include "shogi/board.h"
#include "shogi/types.h"

namespace fv {

enum class GenMode { All, Captures };

// Writes the legal moves of the side to move to `out` (room for MaxMoves)
// and returns their number. The board is used for trial moves and left as it was.
int GenerateLegal(Board& board, Move* out, GenMode mode = GenMode::All);

// Writes every move that obeys the pieces' movement, the promotion rules and
// the drop rules (no dead pieces, no second pawn on a column) without looking
// at the kings. Returns their number.
int GeneratePseudoLegal(const Board& board, Move* out, GenMode mode = GenMode::All);

// True when the pawn drop `m` checkmates: the opponent has no legal reply.
bool IsPawnDropMate(Board& board, Move m);

}  // namespace fv
