// One move of the principal variation as the search log writes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shogi/position.h"

namespace fv {

// Characters of one move in the PV text: origin file and rank (00 for a drop),
// destination file and rank, the piece's name after the move.
constexpr int PvMoveLength = 6;

struct PvMove {
  static constexpr int DropOrigin = -1;

  Side side = Sente;
  int from = DropOrigin;  // origin square 0..80, or DropOrigin
  int to = 0;             // destination square 0..80
  int piece = Empty;      // kind 1..14 named: the piece after the move, or the dropped kind;
                          // Empty for a name that is none of the fourteen

  bool IsDrop() const { return from == DropOrigin; }
  // The six characters: "7776FU", "0055KA", "8822UM".
  std::string Text() const;
  // The transcript's line: the side's sign and the six characters, "+7776FU".
  std::string Line() const;
};

// The move of `side` written as the six characters `text`, or nothing when
// its digits are not two digits 1 to 9 (or "00" for a drop) and two digits
// 1 to 9. The last two characters are matched against the piece names.
std::optional<PvMove> ParsePvMove(Side side, std::string_view text);

// Whether six move characters have the form of a move: origin file and rank
// 1 to 9 (or "00", a drop), destination file and rank 1 to 9, and one of the
// fourteen piece names. Whether the move can be played is not looked at.
bool HasMoveForm(std::string_view text);

}  // namespace fv
