// What a feature index stands for: the inverse of the index functions of
// feature_index.h over the placements a legal position can have. Every KPP
// index 0..1475 and every KKP index 0..737 has exactly one meaning.
#pragma once

#include <cstdint>

namespace fv {

struct FeatureMeaning {
  bool inHand;        // a hand count rather than a board piece
  bool own;           // the view's own piece (always true for KKP)
  std::int8_t kind;   // board: code magnitude (KI for the gold-like pieces); hand: kind FU..HI
  std::int8_t place;  // board: square as the view takes it; hand: the count
};

// Meaning of a KPP index 0..KppFeatureCount-1 in any view.
const FeatureMeaning& KppFeatureMeaning(int index);

// Meaning of a KKP index 0..KkpFeatureCount-1 in any view.
const FeatureMeaning& KkpFeatureMeaning(int index);

}  // namespace fv
