// The principal variation as a list of encoded moves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fv {

// Characters of one move in the PV text: origin file and rank (00 for a drop),
// destination file and rank, the piece's name after the move.
constexpr int PvMoveLength = 6;

struct PvMoveList {
  std::vector<std::int32_t> moves;
  int count() const { return int(moves.size()); }
};

// Whether six move characters have the form of a move: origin file and rank
// 1 to 9 (or "00", a drop), destination file and rank 1 to 9, and one of the
// fourteen piece names. Whether the move can be played is not looked at.
bool HasMoveForm(std::string_view move);

// Cuts the PV text into six-character moves (a shorter tail is ignored) and
// encodes each: origin 00 is a drop from hand kind of the name (FU..HI, OU is
// 88); a name of a promoted piece sets the promoted flag. The characters are
// not checked here; see PvMoveProblem.
void ParsePv(const std::string& text, PvMoveList& list);

}  // namespace fv
