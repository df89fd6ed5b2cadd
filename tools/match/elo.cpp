#include "tools/match/elo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace fv::match {

double EloOfScore(double score) {
  if (score <= 0) return -std::numeric_limits<double>::infinity();
  if (score >= 1) return std::numeric_limits<double>::infinity();
  return -400.0 * std::log10(1.0 / score - 1.0);
}

EloEstimate EstimateElo(const Tally& tally) {
  const double n = tally.Games();
  const double s = tally.Points() / n;
  const double variance = (tally.wins * (1 - s) * (1 - s) + tally.losses * s * s +
                           tally.draws * (0.5 - s) * (0.5 - s)) /
                          n;
  const double margin = 1.96 * std::sqrt(variance / n);
  return {s, EloOfScore(s), EloOfScore(std::max(0.0, s - margin)),
          EloOfScore(std::min(1.0, s + margin))};
}

std::string EloText(double elo) {
  if (std::isinf(elo)) return elo > 0 ? "+inf" : "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%+ld", std::lround(elo));
  return text;
}

}  // namespace fv::match
