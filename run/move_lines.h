// The PV as the transcript and the report show it.
#pragma once

#include <string>
#include <vector>

#include "position/pv_moves.h"

namespace fv {

// "+7776FU\n" ("-" for Gote) for each move.
std::string MoveLines(const std::vector<PvMove>& moves);

}  // namespace fv
