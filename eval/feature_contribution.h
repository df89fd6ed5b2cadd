// One KPP term of an evaluation as the analysis keeps, ranks and shows it.
#pragma once

#include <cstdint>

namespace fv {

struct FeatureContribution {
  // The term in weight units, positive favouring Sente: the weight itself in
  // the Sente view, the negated weight in the Gote view (so a Gote-view
  // weight of -32768 gives +32768, which needs the 32 bits).
  std::int32_t value;
  // Square of the king whose view the term belongs to, on the board itself.
  std::int16_t kingLocation;
  // Locations (0..94) of the pair's later and earlier feature list entries.
  std::int16_t firstLocation;
  std::int16_t secondLocation;

  friend bool operator==(const FeatureContribution&, const FeatureContribution&) = default;
};

}  // namespace fv
