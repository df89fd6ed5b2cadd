#include "tools/match/match.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "shogi/notation_error.h"
#include "shogi/usi_move.h"

namespace fv::match {
namespace {

constexpr const char* SideNames[2] = {"Sente", "Gote"};

// The result of `reply`, which `mover` gave on `game`'s position, or the
// move it names, played; std::nullopt when the game goes on.
std::optional<Result> TakeReply(const Reply& reply, Side mover, const std::string& name,
                                Game& game) {
  const std::string who = name + " (" + SideNames[mover] + ")";
  switch (reply.kind) {
    case Reply::Kind::Move:
      try {
        game.Play(ParseUsiMove(game.board(), reply.text));
        return std::nullopt;
      } catch (const NotationError& e) {
        return Result{Ending::IllegalMove, Opponent(mover),
                      who + " played the illegal move " + reply.text + ": " + e.what()};
      }
    case Reply::Kind::Resign:
      return Result{Ending::Resignation, Opponent(mover), who + " resigned"};
    case Reply::Kind::DrawClaim:
      return Result{Ending::DrawClaim, NoWinner, who + " declared a draw: " + reply.text};
    case Reply::Kind::Refusal:
      return Result{Ending::IllegalMove, NoWinner, who + " refused the last move: " + reply.text};
    case Reply::Kind::Failure:
      break;
  }
  return Result{Ending::Forfeit, Opponent(mover), who + " forfeits: " + reply.text};
}

std::string Percent(double fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", 100 * fraction);
  return text;
}

}  // namespace

Thinking& Thinking::operator+=(const Thinking& other) {
  moves += other.moves, ms += other.ms, depths += other.depths;
  return *this;
}

PlayedGame PlayGame(Player& sente, Player& gote, const Opening& opening, int maxPlies) {
  PlayedGame played{{sente.Name(), gote.Name(), "", {}, {}}, {}};
  CsaGame& record = played.record;
  Game game;
  std::vector<std::string> texts;
  for (const std::string& text : opening) {
    game.Play(ParseUsiMove(game.board(), text));
    texts.push_back(text);
    record.moves.push_back({game.moves().back(), "opening"});
  }
  sente.NewGame();
  gote.NewGame();
  while (true) {
    if (const auto over = game.Judge(maxPlies)) {
      record.result = *over;
      return played;
    }
    const Side mover = game.SideToMove();
    Player& player = mover == Sente ? sente : gote;
    const auto begin = std::chrono::steady_clock::now();
    const Reply reply = player.Think(texts);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - begin);
    if (const auto over = TakeReply(reply, mover, player.Name(), game)) {
      record.result = *over;
      return played;
    }
    texts.push_back(UsiMoveText(game.moves().back()));  // as the rules core writes it
    played.thinking[mover] += {1, ms.count(), reply.depth};
    const std::string score = reply.score.empty() ? "none" : reply.score;
    record.moves.push_back({game.moves().back(), "score " + score + " depth " +
                                                     std::to_string(reply.depth) + " time " +
                                                     std::to_string(ms.count()) + " ms"});
  }
}

MatchOutcome PlayMatch(Player& subject, Player& opponent, const MatchSettings& settings,
                       std::FILE* out) {
  MatchOutcome outcome;
  const int games = settings.games > 0 ? settings.games : 2 * int(settings.openings.size());
  for (int index = 0; index < games; ++index) {
    const int openingIndex = index / 2 % int(settings.openings.size());
    const bool subjectSente = index % 2 == 0;
    Player& sente = subjectSente ? subject : opponent;
    Player& gote = subjectSente ? opponent : subject;
    PlayedGame played = PlayGame(sente, gote, settings.openings[openingIndex], settings.maxPlies);
    CsaGame& record = played.record;
    record.event = subject.Name() + " vs " + opponent.Name() + ", game " +
                   std::to_string(index + 1) + ", opening " + std::to_string(openingIndex + 1);

    char name[32];
    std::snprintf(name, sizeof name, "game%03d.csa", index + 1);
    const std::string path = settings.recordsDir + "/" + name;
    std::ofstream file(path, std::ios::binary);
    file << FormatCsaGame(record);
    if (!file.flush()) throw std::runtime_error(path + ": cannot write the game record");

    const Side subjectSide = subjectSente ? Sente : Gote;
    outcome.thinking[0] += played.thinking[subjectSide];
    outcome.thinking[1] += played.thinking[Opponent(subjectSide)];
    const Result& result = record.result;
    // A game stopped by an illegal or refused move is not scored.
    const bool illegal = result.ending == Ending::IllegalMove;
    std::string verdict = "stopped";
    if (!illegal && result.winner == subjectSide)
      verdict = subject.Name() + " wins", ++outcome.tally.wins;
    else if (!illegal && result.winner == NoWinner)
      verdict = "draw", ++outcome.tally.draws;
    else if (!illegal)
      verdict = opponent.Name() + " wins", ++outcome.tally.losses;
    std::fprintf(out, "game %d/%d  opening %d  %s as %s: %s, %s, %zu plies  %s\n", index + 1, games,
                 openingIndex + 1, subject.Name().c_str(), SideNames[subjectSide], verdict.c_str(),
                 result.detail.c_str(), record.moves.size(), path.c_str());
    std::fflush(out);
    if (illegal) {
      outcome.stopped = result.detail + " (game so far: " + path + ")";
      break;
    }
  }
  return outcome;
}

std::string SummaryLine(const Tally& tally) {
  char score[48];
  std::snprintf(score, sizeof score, "%.1f/%d", tally.Points(), tally.Games());
  std::string line = "games " + std::to_string(tally.Games()) + "  wins " +
                     std::to_string(tally.wins) + "  losses " + std::to_string(tally.losses) +
                     "  draws " + std::to_string(tally.draws) + "  score " + score;
  if (tally.Games() == 0) return line;
  const EloEstimate elo = EstimateElo(tally);
  return line + " (" + Percent(elo.score) + ")  Elo " + EloText(elo.elo) + " (95% range " +
         EloText(elo.low) + " to " + EloText(elo.high) + ")";
}

std::string ThinkingLine(const std::string& name, const Thinking& thinking) {
  const int n = std::max(thinking.moves, 1);
  char text[160];
  std::snprintf(text, sizeof text, "%s: %d moves, %lld ms and depth %.1f on average", name.c_str(),
                thinking.moves, thinking.ms / n, double(thinking.depths) / n);
  return text;
}

}  // namespace fv::match
