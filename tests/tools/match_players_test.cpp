// The match driver with players: programs on pipes, games and a match between
// scripted players.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "shogi/movegen.h"
#include "shogi/usi_move.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"
#include "tools/match/child_process.h"
#include "tools/match/match.h"

namespace fv::match {
namespace {

using Script = std::function<Reply(const std::vector<std::string>&)>;

class ScriptedPlayer : public Player {
 public:
  ScriptedPlayer(std::string name, Script think) : name_(std::move(name)), think_(think) {}
  const std::string& Name() const override { return name_; }
  void NewGame() override {}
  Reply Think(const std::vector<std::string>& moves) override { return think_(moves); }

 private:
  std::string name_;
  Script think_;
};

Reply FirstLegalMove(const std::vector<std::string>& moves) {
  Game game;
  for (const std::string& text : moves) game.Play(ParseUsiMove(game.board(), text));
  Move legal[MaxMoves];
  GenerateLegal(game.board(), legal);
  return {Reply::Kind::Move, UsiMoveText(legal[0]), "cp 0", 1};
}
Reply KingShuffle(const std::vector<std::string>& moves) {
  const char* cycle[] = {"5i5h", "5a5b", "5h5i", "5b5a"};
  return {Reply::Kind::Move, cycle[moves.size() % 4]};
}
Script Always(Reply::Kind kind, std::string text) {
  return [=](const std::vector<std::string>&) { return Reply{kind, text}; };
}

// Lines both ways and a clean exit are held by the USI session with fvengine.
TEST(ChildProcess, TalksOverPipesAndReportsEndsAndSilence) {
  using Status = ChildProcess::ReadStatus;
  const test::TempFile log("");
  const auto soon = [] { return ChildProcess::Clock::now() + std::chrono::seconds(10); };
  std::string line;
  {
    ChildProcess partial({"sh", "-c", "printf 'a\\r\\nlast'; echo oops >&2; exit 3"}, "/",
                         log.path());
    for (const char* want : {"a", "last"}) {
      ASSERT_EQ(partial.ReadLine(line, soon()), Status::Line);
      EXPECT_EQ(line, want);
    }
    EXPECT_EQ(partial.ReadLine(line, soon()), Status::Closed);
    EXPECT_EQ(partial.Stop(), "exit status 3");
    EXPECT_FALSE(partial.WriteLine("after the end"));
  }
  {
    ChildProcess silent({"sleep", "30"}, "/", log.path());
    EXPECT_EQ(silent.ReadLine(line, ChildProcess::Clock::now()), Status::Timeout);
    EXPECT_EQ(silent.Stop(), "killed by signal 15");
  }
  {
    ChildProcess crashing({"sh", "-c", "kill -SEGV $$"}, "/", log.path());
    EXPECT_EQ(crashing.ReadLine(line, soon()), Status::Closed);
    EXPECT_EQ(crashing.Stop(), "killed by signal 11");
  }
  EXPECT_EQ(test::FileText(log.path()), "oops\n");  // standard error went to the log
  EXPECT_THROW(ChildProcess({"/nonexistent/engine"}, "/", log.path()), std::runtime_error);
}

TEST(PlayGame, EndsOnEveryKindOfReply) {
  const Script first = FirstLegalMove;
  // The opening and the players, then the ending, the winner and the plies played.
  const std::tuple<Opening, Script, Script, Ending, int, std::size_t> cases[] = {
      {{"7g7f"}, first, Always(Reply::Kind::Resign, "resign"), Ending::Resignation, Sente, 1},
      {{}, first, Always(Reply::Kind::Move, "7g7f"), Ending::IllegalMove, Sente, 1},
      {{}, Always(Reply::Kind::Failure, "hung"), first, Ending::Forfeit, Gote, 0},
      {{"7g7f"}, first, Always(Reply::Kind::Refusal, "no"), Ending::IllegalMove, NoWinner, 1},
      {{}, first, Always(Reply::Kind::DrawClaim, "draw"), Ending::DrawClaim, NoWinner, 1},
      {{"5i5h"}, KingShuffle, KingShuffle, Ending::Repetition, NoWinner, 12},
  };
  for (const auto& [opening, senteScript, goteScript, ending, winner, plies] : cases) {
    ScriptedPlayer sente("s", senteScript), gote("g", goteScript);
    const CsaGame record = PlayGame(sente, gote, opening, 256).record;
    EXPECT_EQ(std::tuple(record.result.ending, record.result.winner, record.moves.size()),
              std::tuple(ending, winner, plies))
        << record.result.detail;
    EXPECT_TRUE(opening.empty() || record.moves.at(0).comment == "opening");
  }
}

TEST(PlayMatch, SwapsColoursCountsAndStopsOnAnIllegalMove) {
  int asked = 0;
  ScriptedPlayer subject("fv", FirstLegalMove);
  ScriptedPlayer opponent("gnu", [&](const std::vector<std::string>&) {
    return ++asked < 2 ? Reply{Reply::Kind::Resign} : Reply{Reply::Kind::Move, "1a1a"};
  });
  const testing::TempFolder folder;
  MatchSettings settings{{{"7g7f"}, {"2g2f"}}, 256, 0, folder.path().string()};
  test::CapturedStream out;
  const MatchOutcome outcome = PlayMatch(subject, opponent, settings, out.file());
  EXPECT_NE(outcome.stopped.find("gnu (Sente) played the illegal move 1a1a"), std::string::npos);
  EXPECT_NE(out.text().find("game 2/4  opening 1  fv as Gote: stopped"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder.File("game002.csa")));
  // The subject made one move (in game 2), reporting depth 1.
  EXPECT_EQ(ThinkingLine("fv", outcome.thinking[0]).find("fv: 1 moves, "), 0u);
  EXPECT_NE(ThinkingLine("fv", outcome.thinking[0]).find(" ms and depth 1.0 on average"),
            std::string::npos);
  EXPECT_EQ(outcome.thinking[1].moves, 0);
  EXPECT_EQ(SummaryLine(outcome.tally),
            "games 1  wins 1  losses 0  draws 0  score 1.0/1 (100.0%)  Elo +inf (95% range +inf "
            "to +inf)");
}

}  // namespace
}  // namespace fv::match
