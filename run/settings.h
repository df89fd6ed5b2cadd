// Settings of one analysis run.
#pragma once

#include "eval/ranking_order.h"

namespace fv {

struct RunSettings {
  RankingOrder order = RankingOrder::LargestMagnitudeFirst;  // of the ranked terms
  int rankCount = 150;  // number of ranked terms listed, drawn and shown
};

}  // namespace fv
