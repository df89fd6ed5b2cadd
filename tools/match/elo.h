// The Elo difference a match result stands for, with its 95 % range.
#pragma once

#include <string>

namespace fv::match {

struct Tally {
  int wins = 0;
  int losses = 0;
  int draws = 0;
  int Games() const { return wins + losses + draws; }
  double Points() const { return wins + 0.5 * draws; }
};

struct EloEstimate {
  double score;  // points per game, 0..1
  double elo;    // the logistic Elo difference of `score`
  double low;    // the 95 % range: score -+ 1.96 standard errors, as Elo
  double high;
};

// -400 log10(1 / score - 1); minus or plus infinity at a score of 0 or 1.
double EloOfScore(double score);

// The estimate for a tally of at least one game; the standard error is that
// of the mean of the games' points (1, 1/2, 0).
EloEstimate EstimateElo(const Tally& tally);

// "+123", "-45", "+inf", "-inf".
std::string EloText(double elo);

}  // namespace fv::match
