// Settings of one analysis run.
#pragma once

namespace fv {

struct RunSettings {
  int sortMode = 0;     // ranking order of the terms: 0 by size, 1 Sente's first, else Gote's first
  int rankCount = 150;  // number of ranked terms listed, drawn and shown
};

}  // namespace fv
