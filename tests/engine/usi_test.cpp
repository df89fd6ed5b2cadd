// A scripted conversation with fvengine in USI mode, run as a child process
// through pipes, the way a shogi GUI drives it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shogi/movegen.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"

namespace fv::engine {
namespace {

namespace fs = std::filesystem;

// Generous: only a hung engine takes this long to answer.
constexpr int AnswerWaitMs = 20'000;

class Conversation {
 public:
  // Starts fvengine in `dir` with `argument` (none when empty).
  Conversation(const fs::path& dir, const std::string& argument) {
    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      dup2(toChild[0], STDIN_FILENO);
      dup2(fromChild[1], STDOUT_FILENO);
      if (chdir(dir.c_str()) != 0) _exit(127);
      const char* path = FVENGINE_PATH;
      if (argument.empty())
        execl(path, path, nullptr);
      else
        execl(path, path, argument.c_str(), nullptr);
      _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
  }
  ~Conversation() {
    if (in_ >= 0) close(in_);
    close(out_);
    if (pid_ > 0) Wait();
  }

  void Send(const std::string& line) {
    const std::string bytes = line + "\n";
    ASSERT_EQ(write(in_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  void CloseInput() { close(in_), in_ = -1; }

  // The lines up to and with the first that starts with `prefix`; empty when
  // none comes before the engine goes quiet for AnswerWaitMs or ends.
  std::vector<std::string> ReadUntil(const std::string& prefix) {
    std::vector<std::string> lines;
    for (;;) {
      const std::size_t end = pending_.find('\n');
      if (end != std::string::npos) {
        lines.push_back(pending_.substr(0, end));
        pending_.erase(0, end + 1);
        if (lines.back().rfind(prefix, 0) == 0) return lines;
        continue;
      }
      pollfd ready{out_, POLLIN, 0};
      char buffer[4096];
      ssize_t got = 0;
      if (poll(&ready, 1, AnswerWaitMs) <= 0 || (got = read(out_, buffer, sizeof buffer)) <= 0)
        return {};
      pending_.append(buffer, std::size_t(got));
    }
  }
  std::string Answer(const std::string& prefix) {
    const std::vector<std::string> lines = ReadUntil(prefix);
    return lines.empty() ? "(no answer)" : lines.back();
  }
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  std::string pending_;
};

class UsiSession : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("fvengine-usi-test-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "fv.bin");  // every weight missing reads 0: material alone
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

// The board after the moves, played from the start.
Board BoardAfter(const std::vector<std::string>& moves) {
  Board board;
  const SfenPosition start = ParseSfen(StartSfen);
  board.Set(start.position, start.sideToMove);
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

// A game of `plies` moves chosen pseudo-randomly among the legal ones.
std::vector<std::string> LongGame(int plies, std::uint32_t seed) {
  Board board = BoardAfter({});
  std::vector<std::string> moves;
  while (int(moves.size()) < plies) {
    std::array<Move, MaxMoves> legal;
    const int count = GenerateLegal(board, legal.data());
    if (count == 0) return LongGame(plies, seed + 1);  // cut short by a mate: another game
    seed = seed * 1103515245u + 12345u;
    const Move m = legal[(seed >> 8) % count];
    moves.push_back(UsiMoveText(m));
    board.Make(m);
  }
  return moves;
}

TEST_F(UsiSession, AGuiSessionGetsLegalMovesAndBadInputIsAnsweredNotFatal) {
  Conversation engine(dir_, "usi");
  engine.Send("usi");
  const std::vector<std::string> greeting = engine.ReadUntil("usiok");
  ASSERT_FALSE(greeting.empty());
  EXPECT_EQ(greeting[0].rfind("id name fvengine", 0), 0u);
  for (const char* option : {"EvalFile type string default fv.bin", "USI_Hash type spin",
                             "USI_Ponder type check", "Depth type spin default 0"})
    EXPECT_NE(Joined(greeting).find(std::string("option name ") + option), std::string::npos)
        << option;
  engine.Send("isready");
  EXPECT_EQ(engine.Answer("readyok"), "readyok");
  engine.Send("isready");
  EXPECT_EQ(engine.Answer("readyok"), "readyok");

  const struct {
    const char* line;
    const char* answer;
  } bad[] = {
      {"hello", "info string unknown command 'hello'"},
      {"setoption name Colour value red", "info string setoption: unknown option 'Colour'"},
      {"setoption name USI_Hash value lots", "info string setoption: USI_Hash: expected a whole"},
      {"position startpos moves 7g7f 7g7f", "info string position: move 2: USI move: 7g7f is not"},
      {"position sfen 9/9 b - 1", "info string position: SFEN: the board has 2 ranks, not 9"},
  };
  for (const auto& b : bad) {
    engine.Send(b.line);
    EXPECT_EQ(engine.Answer("info string").rfind(b.answer, 0), 0u) << b.line;
  }
  // The illegal second move left the position after 7g7f; the bad SFEN changed nothing.
  engine.Send("setoption name depth value 2");
  engine.Send("go depth 5");
  const std::vector<std::string> search = engine.ReadUntil("bestmove");
  ASSERT_FALSE(search.empty());
  ExpectLegalBestMove(search.back(), BoardAfter({"7g7f"}));
  EXPECT_EQ(search[search.size() - 2].rfind("info depth 2 seldepth ", 0), 0u)
      << "Depth caps go depth";
  EXPECT_NE(search[0].find(" score cp "), std::string::npos);
  EXPECT_NE(search[0].find(" hashfull "), std::string::npos);
  engine.Send("setoption name Depth value 0");

  const std::vector<std::string> game = LongGame(300, 99);
  engine.Send("position startpos moves" + Joined(game));
  engine.Send("go btime 0 wtime 0 byoyomi 100");
  ExpectLegalBestMove(engine.Answer("bestmove"), BoardAfter(game));

  engine.Send("position sfen lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1");
  engine.Send("go infinite");
  engine.ReadUntil("info depth 2 ");
  engine.Send("isready");  // answered while the search goes on
  EXPECT_EQ(engine.Answer("readyok"), "readyok");
  engine.Send("stop");
  ExpectLegalBestMove(engine.Answer("bestmove"), BoardAfter({"1g1f"}));

  engine.Send("position startpos moves 2g2f");
  engine.Send("go ponder btime 1000 wtime 1000 byoyomi 200");
  engine.ReadUntil("info depth 1 ");
  engine.Send("ponderhit");
  ExpectLegalBestMove(engine.Answer("bestmove"), BoardAfter({"2g2f"}));
  engine.Send("gameover win");
  engine.Send("quit");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST_F(UsiSession, AProgramStartedWithoutArgumentsAnswersAFirstLineUsi) {
  Conversation engine(dir_, "");
  engine.Send("usi");
  EXPECT_EQ(engine.Answer("usiok"), "usiok");
  engine.Send("position sfen 4k4/9/4P4/9/9/9/9/9/4K4 b G 1 moves G*5b");
  engine.Send("go depth 3");
  EXPECT_EQ(engine.Answer("bestmove"), "bestmove resign") << "Gote is mated";
  engine.CloseInput();
  EXPECT_EQ(engine.Wait(), 0) << "the end of input ends the session";
  EXPECT_FALSE(fs::exists(dir_ / "log")) << "no search of the working directory";
}

}  // namespace
}  // namespace fv::engine
