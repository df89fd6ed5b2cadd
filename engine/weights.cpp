#include "engine/weights.h"

namespace fv::engine {

Weights LoadWeights(const WeightFile& file) {
  Weights w;
  w.kpp.resize(PackedKppValueCount);
  w.kkp.resize(KkpValueCount);
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k;
  file.ReadValues(0, w.kpp);
  file.ReadValues(PackedKppValueCount, w.kkp);
  return w;
}

}  // namespace fv::engine
