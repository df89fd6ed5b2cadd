// Checks the moves of a PV against the rules of shogi and plays them once,
// from the input position to the leaf.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "position/pv_moves.h"
#include "shogi/position.h"

namespace fv {

// A PV whose every move is legal in its position, and where it leads.
struct CheckedPv {
  std::vector<PvMove> moves;
  // The position searched, then the position after each move: one more than `moves`.
  std::vector<Position> positions;
  Side leafSideToMove = Sente;
  bool leafHasNoLegalMove = false;  // the side to move at the leaf is mated

  const Position& Leaf() const { return positions.back(); }
};

// Why `side` cannot play the six move characters `move` in `pos`, or "" if it
// can: the digits must be 1 to 9 (origin 00 for a drop); a board move needs a
// piece of the mover on the origin, none on the destination, no king to take
// there, and the name of the moved piece or of its promoted form; a drop needs
// a hand kind the mover holds (never OU) and an empty destination. Then the
// move must obey the rules of shogi (see BrokenRule): the piece's movement
// without jumping, the promotion zone and forced promotions, the pawn drop
// rules, and the mover's king left out of check.
std::string PvMoveProblem(Side side, const Position& pos, std::string_view move);

// Plays the PV text (six characters a move, a shorter tail ignored) from
// `start` with `side` to move first, the sides alternating, and throws
// InputError(logPath, "move N (xxxxxx): ...") at the first move that cannot
// be played.
CheckedPv CheckPv(const std::string& logPath, Side side, const Position& start,
                  std::string_view text);

}  // namespace fv
