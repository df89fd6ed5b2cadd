#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "engine/position_record.h"
#include "shogi/sfen.h"
#include "tests/engine/test_positions.h"
#include "tests/support/positions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace fv::engine {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out, err;
};

using test::FileText;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// A tactical position as fvengine reads it from position.csa.
std::string TacticalRecord(int n) {
  const Board board = test::BoardOf(testing::TacticalPositions[n]);
  return FormatPositionRecord({board.ToPosition(), board.SideToMove()});
}

class Program : public ::testing::Test {
 protected:
  Outcome Run(const std::string& args) {
    const std::string command =
        "cd '" + dir_.string() + "' && '" FVENGINE_PATH "' " + args + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileText(dir_ / "out.txt"),
            FileText(dir_ / "err.txt")};
  }

  // "status: last line of the output", the leaf count of a perft run.
  std::string Leaves(const std::string& args) {
    const Outcome run = Run(args);
    const std::string out = run.out.substr(0, run.out.find_last_not_of('\n') + 1);
    return std::to_string(run.status) + ": " + out.substr(out.find_last_of('\n') + 1) + run.err;
  }

  const fv::testing::TempFolder folder_;
  const fs::path& dir_ = folder_.path();
};

TEST_F(Program, PerftPrintsTheLeafCountLast) {
  EXPECT_EQ(Leaves("--perft 3"), "0: 25470");
  // The 2-ply count of the pinned-gold position, checked by brute force in movegen_test.
  Write(dir_ / "p.csa", TacticalRecord(1));
  for (const char* args : {"--perft 2 --position p.csa", "--position p.csa --perft 2"})
    EXPECT_EQ(Leaves(args), "0: 33037") << args;
}

// Each progress line reaches a pipe at once: the first arrives while the
// search (limited to a second) still runs, before it writes its log.
TEST_F(Program, ProgressLinesAreFlushed) {
  Write(dir_ / "fv.bin", "");
  Write(dir_ / "engine.conf", "depth = 64\ntime = 1000\n");
  std::FILE* out =
      popen(("cd '" + dir_.string() + "' && '" FVENGINE_PATH "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(out, nullptr);
  char line[256] = "";
  EXPECT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_FALSE(fs::exists(dir_ / "log/n000.log"));
  EXPECT_EQ(std::string(line),
            "Sente to move, searching to depth 64 within 1000 ms; scores are from Sente's view\n");
  while (std::fgets(line, sizeof line, out)) continue;  // to the end of the run
  pclose(out);
  EXPECT_TRUE(fs::exists(dir_ / "log/n000.log"));
}

TEST_F(Program, BadInputEndsWithAClearMessage) {
  // A file written (with an empty fv.bin beside it, else no fv.bin), the arguments, the
  // status and the start of the message.

  const char* const noWeights = "fvengine: fv.bin: cannot open (No such file or directory)";
  const std::tuple<const char*, const char*, const char*, int, const char*> cases[] = {
      {"", "", "", 1, noWeights},
      {"", "", "--check", 1, noWeights},
      {"engine.conf", "depth = deep\n", "", 1, "fvengine: engine.conf: line 1: expected a whole"},
      {"position.csa", "x\n", "", 1, "fvengine: position.csa: only 1 line,"},
      {"", "", "--perft 1 --position none.csa", 1, "fvengine: none.csa: cannot open"},
      {"", "", "--fast", 2, "fvengine: unknown argument '--fast'"},
      {"", "", "--perft", 2, "fvengine: --perft needs a depth"},
      {"", "", "--perft x", 2, "fvengine: --perft needs a depth from 0 to 12"},
      {"", "", "--check --perft 1", 2, "fvengine: --perft cannot be combined"},
      {"", "", "--perft 1 --perft 2", 2, "fvengine: --perft is given twice"},
      {"position.csa", "x\n", "--check", 1, "fvengine: position.csa: only 1 "},
      {"engine.conf", "hash = 0\n", "--check", 1, "fvengine: engine.conf: line 1: "},
      {"bad.csa", "PI\n+\n+7775FU\n", "--perft 1 --position bad.csa", 1,
       "fvengine: bad.csa: line 3: move 1 (+7775FU) is not legal"},
      {"one.csa", "PI\n+\n+7776FU\n", "--perft 1 --position one.csa --ply 2", 1,
       "fvengine: one.csa: no position after move 2: the record has 1 move"},
      {"", "", "--perft 1 --ply 2", 2, "fvengine: --ply needs a game record"},
      {"engine.conf", "ply = 2\n", "--check", 1, "fvengine: engine.conf: 'ply' needs a game"},
      {"", "", "--perft 1 --position '9/9/9/9/9/9/9/9/9 b - 1'", 1,
       "fvengine: 9/9/9/9/9/9/9/9/9 b - 1: SFEN: "},
      {"dead.csa", "P-51OU\nP+59OU\nP+11FU\n+\n", "--perft 1 --position dead.csa", 1,
       "fvengine: dead.csa: +FU on 11 can never move"},
  };
  for (const auto& [file, content, args, status, message] : cases) {
    for (const char* old : {"engine.conf", "position.csa", "fv.bin"}) fs::remove(dir_ / old);
    if (*file) Write(dir_ / file, content), Write(dir_ / "fv.bin", "");
    const Outcome run = Run(args);
    EXPECT_EQ(std::pair(run.status, run.err.substr(0, std::strlen(message))),
              std::pair(status, std::string(message)))
        << file << " " << args;
  }
  EXPECT_FALSE(fs::exists(dir_ / "log"));
  const Outcome help = Run("--perft 1 --help");
  EXPECT_TRUE(help.status == 0 && help.out.find("engine.conf") != std::string::npos) << help.out;
  EXPECT_EQ(Run("--version").out.rfind("fvengine ", 0), 0u);
}

TEST_F(Program, PositionAfterAnyMoveOfAGameRecord) {
  // 1.+7776FU 2.-3334FU 3.+8822UM 4.-3122GI 5.+0045KA in KIF, and the SFEN after move 3.
  Write(dir_ / "game.kifu",
        "手合割：平手\n   1 ７六歩(77)\n   2 ３四歩(33)\n   3 ２二角成(88)\n   4 同　銀(31)\n"
        "   5 ４五角打\n   6 投了\n");
  const std::string third = "lnsgkgsnl/1r5+B1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/7R1/LNSGKGSNL w B 1";
  const std::string fromRecord = Leaves("--position game.kifu --ply 3 --perft 2");
  EXPECT_EQ(fromRecord, Leaves("--perft 2 --position '" + third + "'"));
  EXPECT_EQ(fromRecord.rfind("0: ", 0), 0u) << fromRecord;

  // The search takes the record and ply from engine.conf and leaves the position in the
  // strict form.
  Write(dir_ / "fv.bin", "");
  Write(dir_ / "engine.conf", "depth = 1\nposition = game.kifu\nply = 3\n");
  ASSERT_EQ(Run("").status, 0);
  const PositionRecord searched = ReadPositionRecord((dir_ / "log/game000.csa").string());
  EXPECT_EQ(FormatSfen(searched.position, searched.sideToMove), third);
  EXPECT_EQ(FileText(dir_ / "log/game000.csa"), FormatPositionRecord(searched));
}

// Files as editors save them, read by --check: a byte-order mark, CRLF line
// ends, blanks after a hand line and the side line, a board line without its
// trailing blank.
TEST_F(Program, ReadsFilesAsEditorsWriteThem) {
  std::string position = "\xEF\xBB\xBF" + TacticalRecord(0);
  position.replace(position.find("\nP+00KA\nP-00KA\n+\n"), 19, "\nP+00KA \nP-00KA\n+ \n");
  position.replace(position.find("-KI-GI *  * \n"), 13, "-KI-GI *  *\n");
  std::string crlf;
  for (const char c : position) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Write(dir_ / "position.csa", crlf);
  Write(dir_ / "engine.conf", std::string("\xEF\xBB\xBF") + "depth = 2\r\n");
  Write(dir_ / "fv.bin", std::string(1000, '\0'));
  const Outcome check = Run("--check");
  EXPECT_EQ(check.status, 0) << check.err;
  EXPECT_EQ(check.err,
            "fvengine: fv.bin: warning: the file has 1000 bytes, expected 186268248; the weights "
            "beyond its end read as 0\n");
  EXPECT_FALSE(fs::exists(dir_ / "log")) << "a check searches nothing";
}

}  // namespace
}  // namespace fv::engine
