#include <gtest/gtest.h>

#include <map>
#include <string>

#include "position/csa_record.h"
#include "position/input_error.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using test::TempFile;

const std::string Header = "V2.2\nN+sente\nN-gote\n";

// Nine board lines: empty but for the given cells (square index -> cell) and,
// unless replaced, the kings on 51 and 59.
std::string BoardLines(std::map<int, std::string> cells, bool defaultKings = true) {
  if (defaultKings) {
    cells.try_emplace(SquareOf(5, 1), "-OU");
    cells.try_emplace(SquareOf(5, 9), "+OU");
  }
  std::string lines;
  for (int rank = 1; rank <= 9; ++rank) {
    lines += 'P';
    lines += std::to_string(rank);
    for (int file = 9; file >= 1; --file) {
      const auto cell = cells.find(SquareOf(file, rank));
      lines += cell == cells.end() ? " * " : cell->second;
    }
    lines += "\n";
  }
  return lines;
}

std::string StartingBoard() {
  return "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\n"
         "P2 * -HI *  *  *  *  * -KA * \n"
         "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\n"
         "P4 *  *  *  *  *  *  *  *  * \n"
         "P5 *  *  *  *  *  *  *  *  * \n"
         "P6 *  *  *  *  *  *  *  *  * \n"
         "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\n"
         "P8 * +KA *  *  *  *  * +HI * \n"
         "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n";
}

CsaRecord Read(const std::string& content) {
  const TempFile file(content);
  return ReadCsaFile(file.path());
}

// The problem text of the InputError that reading `content` throws, or "".
std::string ReadProblem(const std::string& content) {
  const TempFile file(content);
  try {
    ReadCsaFile(file.path());
  } catch (const InputError& error) {
    EXPECT_EQ(error.file(), file.path());
    return error.problem();
  }
  return "";
}

TEST(CsaRecord, BoardCellsBecomePieceCodes) {
  struct Case { const char* cell; int square; PieceCode code; };
  const Case cases[] = {
      {" * ", 0, 0},          {"-KY", 0, -KY},       {"+FU", SquareOf(9, 2), FU},
      {"-UM", 0, -UM},        {"+RY", 0, RY},        {"-NK", 0, -NK},
      {"xFU", 10, 0},         {"+XX", 10, 0},        {" FU", 10, 0},
      {"+TO", SquareOf(1, 1), TO},
  };
  for (const Case& c : cases) {
    const CsaRecord record = Read(Header + BoardLines({{c.square, c.cell}}));
    EXPECT_EQ(record.position.board[c.square], c.code) << c.cell;
    EXPECT_EQ(record.position.board[SquareOf(5, 9)], OU) << c.cell;
    EXPECT_EQ(record.position.board[SquareOf(5, 1)], -OU) << c.cell;
  }
}

TEST(CsaRecord, KingCellsSetKingSquares) {
  const CsaRecord record = Read(Header + BoardLines({{0, "-OU"}, {80, "+OU"}}, false));
  EXPECT_EQ(record.position.board[0], -OU);
  EXPECT_EQ(record.position.board[80], OU);
  EXPECT_EQ(record.position.kingSquare[Gote], 0);
  EXPECT_EQ(record.position.kingSquare[Sente], 80);
}

TEST(CsaRecord, StartingPositionReadsFully) {
  const Position pos = Read(Header + StartingBoard() + "+\n").position;
  EXPECT_EQ(pos.board[SquareOf(8, 8)], KA);
  EXPECT_EQ(pos.board[SquareOf(2, 2)], -KA);
  EXPECT_EQ(pos.board[SquareOf(7, 7)], FU);
  EXPECT_EQ(pos.board[SquareOf(1, 9)], KY);
  EXPECT_EQ(pos.kingSquare[Sente], SquareOf(5, 9));
  EXPECT_EQ(pos.kingSquare[Gote], SquareOf(5, 1));
}

TEST(CsaRecord, HandLinesAddUp) {
  using Hand = std::array<std::int8_t, HandKindCount>;
  struct Case { const char* lines; Hand sente; Hand gote; };
  const Case cases[] = {
      {"P+00KI00FU00FU\n", {2, 0, 0, 0, 1, 0, 0}, {}},
      {"P-00HI\n", {}, {0, 0, 0, 0, 0, 0, 1}},
      {"P+00OU\n", {}, {}},
      {"P-00TO00KA00UM\n", {}, {0, 0, 0, 0, 0, 1, 0}},
      {"P+55FU77KE\n", {1, 0, 1, 0, 0, 0, 0}, {}},
      {"P+00FU\nP+00FU\n", {2, 0, 0, 0, 0, 0, 0}, {}},
      {"P+00GI\nP-00GI\nP+00KY\n+\n", {0, 1, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0}},
      {"P+00FU", {1, 0, 0, 0, 0, 0, 0}, {}},
      {"P+00FU00K\n", {1, 0, 0, 0, 0, 0, 0}, {}},
      {"P+00FU\r\nP-00KE\r\n", {1, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0}},
      {"+\nP+00FU\n", {}, {}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    const Position pos = Read(Header + BoardLines({}) + c.lines).position;
    EXPECT_EQ(pos.hand[Sente], c.sente) << c.lines;
    EXPECT_EQ(pos.hand[Gote], c.gote) << c.lines;
  }
}

TEST(CsaRecord, SideToMoveLineAfterTheHands) {
  struct Case { const char* tail; std::optional<Side> side; };
  const Case cases[] = {
      {"+\n", Sente}, {"-\n", Gote}, {"P+00FU\n-\n", Gote}, {"+\r\n", Sente},
      {"", std::nullopt}, {"+2726FU\n", std::nullopt}, {"'comment\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(Header + BoardLines({}) + c.tail).sideToMove, c.side) << c.tail;
}

TEST(CsaRecord, CrlfRecordReadsLikeLf) {
  std::string crlf;
  const std::string lf = Header + BoardLines({{40, "+KA"}, {0, "-KY"}}) + "P+00FU\nP-00KI\n+\n";
  for (const char ch : lf) {
    if (ch == '\n') crlf += '\r';
    crlf += ch;
  }
  const CsaRecord fromCrlf = Read(crlf);
  const CsaRecord fromLf = Read(lf);
  EXPECT_EQ(fromCrlf.position.board, fromLf.position.board);
  EXPECT_EQ(fromCrlf.position.hand, fromLf.position.hand);
  EXPECT_EQ(fromCrlf.sideToMove, Sente);
}

TEST(CsaRecord, ReadIntoPositionReplacesBoardAndHand) {
  const TempFile file(Header + BoardLines({{0, "+UM"}}) + "P-00FU\n");
  Position pos;
  pos.board.fill(FU);
  pos.hand[Sente].fill(3);
  ReadCsaRecord(file.path(), pos);
  EXPECT_EQ(pos.board[0], UM);
  EXPECT_EQ(pos.board[1], 0);
  EXPECT_EQ(pos.hand[Sente][0], 0);
  EXPECT_EQ(pos.hand[Gote][0], 1);
}

TEST(CsaRecord, UnusableRecordsAreRefused) {
  std::string shortLine = BoardLines({});
  shortLine.replace(shortLine.find("P4") + 28, 1, "");  // the fourth board line loses its last blank
  std::string hugeHand;  // 256 pawns: an 8-bit count would wrap to 0
  for (int line = 0; line < 2; ++line) {
    hugeHand += "P+";
    for (int i = 0; i < 128; ++i) hugeHand += "00FU";
    hugeHand += "\n";
  }
  struct Case { std::string content; std::string problem; };
  const Case cases[] = {
      {"", "only 0 lines, a record needs three header and nine board lines"},
      {Header + StartingBoard().substr(0, 30 * 8), "only 11 lines, a record needs three header and nine board lines"},
      {Header + shortLine, "line 7: board line shorter than its nine cells"},
      {Header + "P1\n", "line 4: board line shorter than its nine cells"},
      {Header + BoardLines({{SquareOf(5, 9), " * "}}), "0 kings of Sente on the board, there must be exactly one"},
      {Header + BoardLines({{SquareOf(5, 9), " * "}}) + "P+00OU\n", "0 kings of Sente on the board, there must be exactly one"},
      {Header + BoardLines({{0, "-OU"}}), "2 kings of Gote on the board, there must be exactly one"},
      {Header + StartingBoard() + "P-00KY\n", "39 pieces besides the kings, a set has 38"},
      {Header + BoardLines({}) + hugeHand, "127 pieces besides the kings, a set has 38"},
      {Header + BoardLines({{0, "+KE"}}), "+KE on 91 can never move"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadProblem(c.content), c.problem) << c.content;
}

TEST(CsaRecord, MissingOrUnreadableFileIsRefused) {
  try {
    ReadCsaFile("/nonexistent/game000.csa");
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_EQ(error.file(), "/nonexistent/game000.csa");
    EXPECT_EQ(error.problem(), "cannot open (No such file or directory)");
  }
  try {
    ReadCsaFile("/tmp");
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_EQ(error.problem(), "cannot read");
  }
}

}  // namespace
}  // namespace fv
