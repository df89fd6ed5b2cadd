// A match between two players: each opening played twice, colours swapped,
// every move checked with the rules core, every game kept as a CSA record.
#pragma once

#include <array>
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
  int maxPlies = 256;      // a game this long is drawn
  int games = 0;           // games to play, 0 for two per opening
  std::string recordsDir;  // where gameNNN.csa are written
};

// How a player spent its moves: their number, wall time and reported depths.
struct Thinking {
  int moves = 0;
  long long ms = 0;
  long long depths = 0;
  Thinking& operator+=(const Thinking& other);
};

struct PlayedGame {
  CsaGame record;
  std::array<Thinking, 2> thinking;  // Sente's and Gote's
};

struct MatchOutcome {
  Tally tally;                       // from the first player's side
  std::array<Thinking, 2> thinking;  // the first player's and the second's
  std::string stopped;  // why the match stopped early (an illegal or refused move), or empty
};

// Plays one game from `opening`, asking `sente` and `gote` in turn, until it
// is judged over or a player resigns, claims a draw, fails or moves illegally.
// Each move's comment gives its player's score, depth and thinking time.
PlayedGame PlayGame(Player& sente, Player& gote, const Opening& opening, int maxPlies);

// Plays the match of `subject` against `opponent`, printing a line per game
// and writing its record. Stops after a game with an illegal or refused move.
MatchOutcome PlayMatch(Player& subject, Player& opponent, const MatchSettings& settings,
                       std::FILE* out);

// "games 40  wins 25  losses 13  draws 2  score 26.0/40 (65.0%)  Elo +108 (95% range +.. to +..)"
std::string SummaryLine(const Tally& tally);
// "fvengine: 1520 moves, 63 ms and depth 3.4 on average"
std::string ThinkingLine(const std::string& name, const Thinking& thinking);

}  // namespace fv::match
