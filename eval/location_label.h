// CSA-style label of one location of a position: "+77FU" or "-22RY" for a
// piece on a square, "+55" for an empty square, "+KE*" or "-HI*" for a hand
// slot (the count is not shown).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "eval/feature_contribution.h"
#include "shogi/position.h"

namespace fv {

struct LocationText {
  std::array<char, 8> text{};  // NUL-terminated; the longest label has 5 characters

  const char* c_str() const { return text.data(); }
  std::string_view view() const { return text.data(); }
};

// Label of `location` (0..94) holding `content` (a piece code on a square, a
// count in a hand slot). A content outside -14..14 on a square gets the name
// "??"; a location outside 0..94 the label "?".
LocationText LocationLabel(int location, int content);

// The labels of a term's king and its two cells in `leaf`, each in brackets,
// joined by hyphens: "[-51OU]-[+FU*]-[-FU*]".
std::string TermLabel(const Position& leaf, const FeatureContribution& term);

}  // namespace fv
