// The usual starting position of shogi.
#pragma once

#include "shogi/position.h"

namespace fv {

Position StartPosition();

}  // namespace fv
