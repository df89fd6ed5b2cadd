// A match between two players: each opening played twice, colours swapped,
// every move checked with the rules core, every game kept as a CSA record.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/match/csa_game.h"
#include "tools/match/elo.h"
#include "tools/match/openings.h"
#include "tools/match/player.h"

namespace fv::match {

struct MatchSettings {
  std::vector<Opening> openings;
  int maxPlies = 256;       // a game this long is drawn
  int games = 0;            // games to play, 0 for two per opening
  std::string recordsDir;   // where gameNNN.csa are written
};

struct MatchOutcome {
  Tally tally;          // from the first player's side
  std::string stopped;  // why the match stopped early (an illegal or refused move), or empty
};

// Plays one game from `opening`, asking `sente` and `gote` in turn, until it
// is judged over or a player resigns, claims a draw, fails or moves illegally.
CsaGame PlayGame(Player& sente, Player& gote, const Opening& opening, int maxPlies);

// Plays the match of `subject` against `opponent`, printing a line per game
// and writing its record. Stops after a game with an illegal or refused move.
MatchOutcome PlayMatch(Player& subject, Player& opponent, const MatchSettings& settings,
                       std::FILE* out);

// "games 40  wins 25  losses 13  draws 2  score 26.0/40 (65.0%)  Elo +108 (95% range +.. to +..)"
std::string SummaryLine(const Tally& tally);

}  // namespace fv::match
