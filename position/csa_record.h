// Reader of the board and hands of a CSA game record.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shogi/position.h"

namespace fv {

struct CsaRecord {
  Position position;
  // The side-to-move line ("+" or "-") right after the hand lines, if present.
  std::optional<Side> sideToMove;
  // What the reader passed over, one note each such as "line 6: cell '+XX'
  // on 73": board lines not labelled P1 to P9, cells of an unknown sign or
  // name, and hand entries that name no hand kind (the first 64 notes). The
  // analysis reads on; a program that plays from the position can refuse
  // such a record.
  std::vector<std::string> passedOver;
};

// Reads a record of fixed shape: three ignored lines, nine board lines of nine
// three-character cells after two leading characters (rank 1 first, file 9
// first in a line), then hand lines "P+00FU00KI..." / "P-..." that add up. A
// cell with an unknown name or sign is left empty; hand entries other than
// the seven hand kinds are passed over and their square digits are not read.
// A board line of 28 characters ending in " *" (its trailing blank stripped
// by an editor) reads its last cell as empty; blanks after a hand line or the
// side-to-move line are ignored. Throws InputError when the file cannot be
// read, has fewer than twelve lines or a board line shorter than its nine
// cells (saying so when that line is not the board line due there), or when
// the position cannot be analysed (see PositionProblem).
CsaRecord ReadCsaFile(const std::string& path);

// Reads the record at `path` into `pos` (see ReadCsaFile).
void ReadCsaRecord(const std::string& path, Position& pos);

}  // namespace fv
