#include "tools/match/openings.h"

#include <fstream>
#include <sstream>

#include "io/input_error.h"
#include "shogi/notation_error.h"
#include "shogi/usi_move.h"
#include "tools/match/game.h"

namespace fv::match {

std::vector<Opening> ReadOpenings(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path, "cannot open the openings file");
  std::vector<Opening> openings;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    const std::string where = "line " + std::to_string(number) + ": ";
    std::istringstream words(text);
    Opening opening;
    Game game;
    for (std::string word; words >> word;) {
      if (opening.empty() && word.starts_with('#')) break;
      if (opening.size() == MaxOpeningPlies)
        throw InputError(path, where + "more than " + std::to_string(MaxOpeningPlies) + " moves");
      try {
        game.Play(ParseUsiMove(game.board(), word));
      } catch (const NotationError& e) {
        throw InputError(path, where + e.what());
      }
      opening.push_back(word);
    }
    if (opening.empty()) continue;
    if (const auto over = game.Judge(MaxOpeningPlies + 1))
      throw InputError(path, where + "the game is over after the opening: " + over->detail);
    openings.push_back(std::move(opening));
  }
  if (in.bad()) throw InputError(path, "cannot read the openings file");
  if (openings.empty()) throw InputError(path, "no openings");
  return openings;
}

}  // namespace fv::match
