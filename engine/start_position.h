// The usual starting position of shogi.
#pragma once

#include "position/position.h"

namespace fv::engine {

Position StartPosition();

}  // namespace fv::engine
