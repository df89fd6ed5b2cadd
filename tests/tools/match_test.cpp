// The match driver's pure parts: judging a game, the Elo estimate, the CSA
// record, the openings file and the engines' output lines.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "io/input_error.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"
#include "tools/match/csa_game.h"
#include "tools/match/elo.h"
#include "tools/match/game.h"
#include "tools/match/gnushogi_player.h"
#include "tools/match/openings.h"
#include "tools/match/usi_player.h"

namespace fv::match {
namespace {

// Kings stepping out and back: fourfold repetition after three rounds.
const std::string Shuffle = "5i5h 5a5b 5h5i 5b5a ";

// Plays the blank-separated USI `moves` from `sfen`, judging after each; returns
// the first judgement and how many moves had been played then.
std::pair<std::optional<Result>, int> PlayAndJudge(std::string_view sfen, const std::string& moves,
                                                   int maxPlies = 256) {
  const SfenPosition start = ParseSfen(sfen);
  Game game(start.position, start.sideToMove);
  std::istringstream in(moves);
  int played = 0;
  for (std::string text; in >> text; ++played) {
    if (auto result = game.Judge(maxPlies)) return {result, played};
    game.Play(ParseUsiMove(game.board(), text));
  }
  return {game.Judge(maxPlies), played};
}

TEST(GameJudgement, EndsOnMateRepetitionPerpetualCheckAndPlyLimit) {
  const std::string chase = "2i1i 1a2a 1i2i 2a1a ";
  // The start, the moves, the ply limit, then the ending, the winner and the plies played.
  const std::tuple<std::string_view, std::string, int, std::optional<Ending>, int, int> cases[] = {
      {"4k4/4G4/4P4/9/9/9/9/9/4K4 w - 1", "", 256, Ending::Mate, Sente, 0},
      // A king with nowhere to go but not in check has lost as well.
      {"8k/6G2/8P/9/9/9/9/9/4K4 w - 1", "", 256, Ending::Mate, Sente, 0},
      {StartSfen, Shuffle + Shuffle + Shuffle, 256, Ending::Repetition, NoWinner, 12},
      {StartSfen, Shuffle + Shuffle + "5i5h 5a5b 5h5i", 256, std::nullopt, 0, 11},
      {"8k/9/9/9/9/9/9/9/4K2R1 b - 1", chase + chase + chase, 256, Ending::PerpetualCheck, Gote,
       12},
      {StartSfen, "7g7f 3c3d 2g2f 8c8d", 4, Ending::MaxPlies, NoWinner, 4},
      {StartSfen, "7g7f 3c3d 2g2f", 4, std::nullopt, 0, 3},
  };
  for (const auto& [sfen, moves, maxPlies, ending, winner, plies] : cases) {
    const auto [result, played] = PlayAndJudge(sfen, moves, maxPlies);
    EXPECT_EQ(std::tuple(result ? std::optional(result->ending) : std::nullopt,
                         result ? result->winner : 0, played),
              std::tuple(ending, winner, plies))
        << sfen << " " << moves;
  }
}

TEST(EloEstimate, FollowsTheScoreAndItsStandardError) {
  // The tally, then the score, the Elo estimate and its range.
  const std::tuple<Tally, double, double, double, double> cases[] = {
      {{21, 2, 0}, 21.0 / 23, 408.5, 238.5, INFINITY},
      {{20, 20, 0}, 0.5, 0, -111.3, 111.3},
      {{10, 10, 20}, 0.5, 0, -77.4, 77.4},
      {{30, 6, 4}, 0.8, 240.8, 135.9, 410.3},
      {{0, 40, 0}, 0, -INFINITY, -INFINITY, -INFINITY},
  };
  for (const auto& [tally, score, elo, low, high] : cases) {
    const EloEstimate e = EstimateElo(tally);
    EXPECT_NEAR(e.score, score, 1e-9);
    for (const auto& [got, want] : {std::pair{e.elo, elo}, {e.low, low}, {e.high, high}}) {
      if (std::isinf(want))
        EXPECT_EQ(got, want);
      else
        EXPECT_NEAR(got, want, 0.1);
    }
  }
  EXPECT_EQ(EloText(408.5), "+409");
  EXPECT_EQ(EloText(-77.6), "-78");
  EXPECT_EQ(EloText(INFINITY), "+inf");
}

TEST(CsaGameRecord, ListsMovesCommentsAndEnding) {
  Game game;
  CsaGame record{"fvengine", "gnushogi", "test", {}, {}};
  for (const char* text : {"7g7f", "3c3d", "8h2b+"}) {
    game.Play(ParseUsiMove(game.board(), text));
    record.moves.push_back({game.moves().back(), text[0] == '8' ? "score cp 90 depth 7" : ""});
  }
  record.result = {Ending::Resignation, Sente, "gnushogi (Gote) resigned"};
  EXPECT_EQ(FormatCsaGame(record),
            "V2.2\nN+fvengine\nN-gnushogi\n$EVENT:test\nPI\n+\n+7776FU\n-3334FU\n+8822UM\n"
            "'score cp 90 depth 7\n%TORYO\n'gnushogi (Gote) resigned\n");
  const std::pair<Result, std::string> endings[] = {
      {{Ending::Mate, Gote, ""}, "%TSUMI"},
      {{Ending::PerpetualCheck, Gote, ""}, "%+ILLEGAL_ACTION"},
      {{Ending::IllegalMove, Sente, ""}, "%-ILLEGAL_ACTION"},
      {{Ending::IllegalMove, NoWinner, ""}, "%CHUDAN"},
      {{Ending::MaxPlies, NoWinner, ""}, "%HIKIWAKE"},
      {{Ending::Repetition, NoWinner, ""}, "%SENNICHITE"},
  };
  for (const auto& [result, line] : endings) {
    record.result = result;
    EXPECT_NE(FormatCsaGame(record).find("\n" + line + "\n'\n"), std::string::npos) << line;
  }
}

TEST(OpeningsFile, ReadsMovesAndNamesTheBadLine) {
  const test::TempFile good("# comment\n\n7g7f 3c3d\r\n 2g2f 8c8d 2f2e\n");
  EXPECT_EQ(ReadOpenings(good.path()),
            (std::vector<Opening>{{"7g7f", "3c3d"}, {"2g2f", "8c8d", "2f2e"}}));

  std::string longOpening;  // 68 moves
  for (int i = 0; i < 17; ++i) longOpening += Shuffle;
  const std::pair<std::string, std::string> bad[] = {
      {"7g7f 3c3d\n7g7f 7g7f\n", "line 2: USI move"},
      {"7g7f\n2g2f xyz\n", "line 2: USI move"},
      {"# nothing\n\n", "no openings"},
      {Shuffle + Shuffle + Shuffle, "the game is over after the opening: fourfold"},
      {longOpening, "line 1: more than 64 moves"},
  };
  for (const auto& [text, problem] : bad) {
    const test::TempFile file(text);
    const std::string message = test::ThrownMessage<InputError>([&] { ReadOpenings(file.path()); });
    EXPECT_EQ(message.rfind(file.path() + ": ", 0), 0u) << text;
    EXPECT_NE(message.find(problem), std::string::npos) << message;
  }
}

TEST(EngineOutput, GnushogiLinesAreRecognised) {
  using K = GnushogiLine::Kind;
  // The line, then its kind, move, depth and score.
  const std::tuple<std::string, K, std::string, int, int> cases[] = {
      {"My move is:  5i5h", K::Move, "5i5h", 0, 0},
      {"Your move is? My move is: P*5e", K::Move, "P*5e", 0, 0},
      {" 5.      1    1   164011   5h5i  B*5d  7i7h", K::Progress, "", 5, 1},
      {" 3-   -132    0     1854   B*8h  B*5d", K::Progress, "", 3, -132},
      {"Depth= 2+ ", K::Other, "", 0, 0},
      {" 99999999999. 1 1 1 x", K::Other, "", 0, 0},
      {"1. 7g7f 0", K::Other, "", 0, 0},
      {"Move# 4    Target = 100    Clock: 0", K::Other, "", 0, 0},
      {"Gen 861709 Node 172222 Tree 458 Eval 43838", K::Other, "", 0, 0},
      {"1. ... G*2e", K::Played, "G*2e", 0, 0},
      {"12. ... 8h2b+ -1000", K::Played, "8h2b+", 0, 0},
      {"Black mates!", K::Mates, "", 0, 0},
      {"Resigns", K::Resign, "", 0, 0},
      {"Drawn game!", K::DrawClaim, "", 0, 0},
      {"Illegal move (no match) 3c3d", K::Refusal, "", 0, 0},
  };
  for (const auto& [line, kind, move, depth, score] : cases) {
    const GnushogiLine got = ParseGnushogiLine(line);
    EXPECT_EQ(std::tuple(got.kind, got.move, got.depth, got.score),
              std::tuple(kind, move, depth, score))
        << line;
  }
}

TEST(EngineOutput, UsiLinesAreRecognised) {
  using K = UsiLine::Kind;
  // The line, then its kind, move, score and depth.
  const std::tuple<std::string, K, std::string, std::string, int> cases[] = {
      {"bestmove 7g7f ponder 3c3d", K::BestMove, "7g7f", "", 0},
      {"bestmove resign", K::BestMove, "resign", "", 0},
      {"bestmove", K::Other, "", "", 0},
      {"info depth 9 seldepth 14 score cp -35 nodes 1000 pv 7g7f 3c3d", K::Info, "", "cp -35", 9},
      {"info score mate 3 depth 5 pv 2b3c+", K::Info, "", "mate 3", 5},
      {"info string depth 4 score cp 1", K::Info, "", "", 0},
      {"info nodes 5000 nps 100000", K::Info, "", "", 0},
      {"readyok", K::Other, "", "", 0},
  };
  for (const auto& [line, kind, move, score, depth] : cases) {
    const UsiLine got = ParseUsiLine(line);
    EXPECT_EQ(std::tuple(got.kind, got.move, got.score, got.depth),
              std::tuple(kind, move, score, depth))
        << line;
  }
}

}  // namespace
}  // namespace fv::match
