// A scripted conversation with fvengine in USI mode, run as a child process
// through pipes, the way a shogi GUI drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/usi_options.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"
#include "tests/support/positions.h"
#include "tests/support/temp_folder.h"
#include "tools/match/child_process.h"

namespace fv::engine {
namespace {

namespace fs = std::filesystem;
using match::ChildProcess;

// The lines up to and with the first that starts with `prefix`; empty when
// none comes before the engine goes quiet for 20 s (only a hung engine takes
// this long to answer) or ends.
std::vector<std::string> ReadUntil(ChildProcess& engine, const std::string& prefix) {
  std::vector<std::string> lines;
  const auto deadline = [] { return ChildProcess::Clock::now() + std::chrono::seconds(20); };
  for (std::string line; engine.ReadLine(line, deadline()) == ChildProcess::ReadStatus::Line;) {
    lines.push_back(line);
    if (line.rfind(prefix, 0) == 0) return lines;
  }
  return {};
}

// Sends `line` (unless empty) and returns the first answer that starts with `prefix`.
std::string Ask(ChildProcess& engine, const std::string& line, const std::string& prefix) {
  if (!line.empty()) engine.WriteLine(line);
  const std::vector<std::string> lines = ReadUntil(engine, prefix);
  return lines.empty() ? "(no answer)" : lines.back();
}

// fvengine run in a scratch folder whose fv.bin is empty: every weight
// missing reads 0, material alone.
class UsiSession : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(folder_.File("fv.bin")); }
  const fv::testing::TempFolder folder_;
  const fs::path& dir_ = folder_.path();
  const std::string errors_ = folder_.File("errors.txt");
};

// The board after the moves, played from the start.
Board BoardAfter(const std::vector<std::string>& moves) {
  Board board = test::BoardOf(StartSfen);
  for (const std::string& m : moves) board.Make(ParseUsiMove(board, m));
  return board;
}

// Expects "bestmove M [ponder P]" with M legal on `board`.
void ExpectLegalBestMove(const std::string& answer, Board board) {
  ASSERT_EQ(answer.rfind("bestmove ", 0), 0u) << answer;
  const std::string move = answer.substr(9, answer.find(' ', 9) - 9);
  EXPECT_NO_THROW(ParseUsiMove(board, move)) << answer;
}

std::string Joined(const std::vector<std::string>& moves) {
  std::string text;
  for (const std::string& m : moves) text += " " + m;
  return text;
}

TEST_F(UsiSession, AGuiSessionGetsLegalMovesAndBadInputIsAnsweredNotFatal) {
  ChildProcess engine({FVENGINE_PATH, "usi"}, dir_.string(), errors_);
  engine.WriteLine("usi");
  const std::vector<std::string> greeting = ReadUntil(engine, "usiok");
  ASSERT_FALSE(greeting.empty());
  EXPECT_EQ(greeting[0].rfind("id name fvengine", 0), 0u);
  for (const std::string& option : OptionDeclarations())
    EXPECT_NE(Joined(greeting).find(option), std::string::npos) << option;
  for (int n = 0; n < 2; ++n) EXPECT_EQ(Ask(engine, "isready", "readyok"), "readyok");

  const std::pair<const char*, const char*> bad[] = {
      // the line, the start of the answer
      {"hello", "info string unknown command 'hello'"},
      {"setoption name Colour value red", "info string setoption: unknown option 'Colour'"},
      {"position startpos moves 7g7f 7g7f", "info string position: move 2: USI move: 7g7f is not"},
      {"position sfen 9/9 b - 1", "info string position: SFEN: the board has 2 ranks, not 9"},
  };
  for (const auto& [line, answer] : bad)
    EXPECT_EQ(Ask(engine, line, "info string").rfind(answer, 0), 0u) << line;
  // The illegal second move left the position after 7g7f; the bad SFEN changed nothing.
  engine.WriteLine("setoption name depth value 2");
  engine.WriteLine("go depth 5");
  const std::vector<std::string> search = ReadUntil(engine, "bestmove");
  ASSERT_FALSE(search.empty());
  ExpectLegalBestMove(search.back(), BoardAfter({"7g7f"}));
  EXPECT_EQ(search[search.size() - 2].rfind("info depth 2 seldepth ", 0), 0u)
      << "Depth caps go depth";
  for (const char* part : {" score cp ", " hashfull "})
    EXPECT_NE(search[0].find(part), std::string::npos) << search[0];
  engine.WriteLine("setoption name Depth value 0");

  std::vector<std::string> game;
  for (const Move m : test::RandomGame(BoardAfter({}), 300, 2)) game.push_back(UsiMoveText(m));
  ASSERT_EQ(game.size(), 300u);
  engine.WriteLine("position startpos moves" + Joined(game));
  ExpectLegalBestMove(Ask(engine, "go btime 0 wtime 0 byoyomi 100", "bestmove"), BoardAfter(game));

  engine.WriteLine("position sfen lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1");
  engine.WriteLine("go infinite");
  ReadUntil(engine, "info depth 2 ");
  EXPECT_EQ(Ask(engine, "isready", "readyok"), "readyok");  // answered while the search goes on
  ExpectLegalBestMove(Ask(engine, "stop", "bestmove"), BoardAfter({"1g1f"}));

  engine.WriteLine("position startpos moves 2g2f");
  engine.WriteLine("go ponder btime 1000 wtime 1000 byoyomi 200");
  ReadUntil(engine, "info depth 1 ");
  ExpectLegalBestMove(Ask(engine, "ponderhit", "bestmove"), BoardAfter({"2g2f"}));
  engine.WriteLine("gameover win");
  engine.WriteLine("quit");
  EXPECT_EQ(engine.Stop(), "exit status 0");
}

TEST_F(UsiSession, AProgramStartedWithoutArgumentsAnswersAFirstLineUsi) {
  ChildProcess engine({FVENGINE_PATH}, dir_.string(), errors_);
  EXPECT_EQ(Ask(engine, "usi", "usiok"), "usiok");
  engine.WriteLine("position sfen 4k4/9/4P4/9/9/9/9/9/4K4 b G 1 moves G*5b");
  EXPECT_EQ(Ask(engine, "go depth 3", "bestmove"), "bestmove resign") << "Gote is mated";
  EXPECT_EQ(engine.Stop(), "exit status 0") << "the end of input ends the session";
  EXPECT_FALSE(fs::exists(dir_ / "log")) << "no search of the working directory";
}

}  // namespace
}  // namespace fv::engine
