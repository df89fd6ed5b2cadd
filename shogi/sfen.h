// Positions in SFEN: the board rank by rank from rank 1 ("lnsgkgsnl/..."), the
// side to move ("b" Sente, "w" Gote), the pieces in hand ("2P2p", "-" for none)
// and the move number.
#pragma once

#include <string>
#include <string_view>

#include "shogi/position.h"

namespace fv {

struct SfenPosition {
  Position position;
  int sideToMove = Sente;
  int moveNumber = 1;
};

// The SFEN of the usual starting position.
constexpr std::string_view StartSfen =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";

// Reads the four fields of an SFEN separated by single blanks; the move number
// may be left out (1). Each side needs exactly one king, and no kind may count
// more pieces than a set holds. Throws NotationError "SFEN: <reason>" for
// anything else. Whether the position can be played (pieces that can never
// move, two pawns on a file, a side left in check) is for the caller to judge.
SfenPosition ParseSfen(std::string_view text);

// The SFEN of a position; hands in the order R B G S N L P, Sente's first.
std::string FormatSfen(const Position& position, int sideToMove, int moveNumber = 1);

}  // namespace fv
