#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "io/input_error.h"
#include "position/csa_record.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"

namespace fv {
namespace {

const std::string Header = "V2.2\nN+sente\nN-gote\n";

// Nine board lines, empty but for `cells` (square -> cell) and the kings on 51 and 59.
std::string Board(std::map<int, std::string> cells = {}) {
  cells.try_emplace(SquareOf(5, 1), "-OU");
  cells.try_emplace(SquareOf(5, 9), "+OU");
  std::string lines;
  for (int square = 0; square < SquareCount; ++square) {
    if (square % 9 == 0) lines += 'P', lines += char('1' + square / 9);
    lines += cells.count(square) ? cells[square] : " * ";
    if (square % 9 == 8) lines += '\n';
  }
  return lines;
}

CsaRecord Read(const std::string& content) { return ReadCsaFile(test::TempFile(content).path()); }

TEST(CsaRecord, BoardCellsAndKings) {
  const std::tuple<const char*, int, int> cells[] = {
      {" * ", 0, 0},   {"-KY", 0, -KY}, {"+FU", 9, FU}, {"-UM", 0, -UM}, {"+RY", 80, RY},
      {"-NK", 0, -NK}, {"xFU", 10, 0},  {"+XX", 10, 0}, {" FU", 10, 0}};
  for (const auto& [cell, square, code] : cells)
    EXPECT_EQ(Read(Header + Board({{square, cell}})).position.board[square], code) << cell;
  const Position pos =
      Read(Header +
           Board({{SquareOf(5, 1), " * "}, {SquareOf(5, 9), " * "}, {0, "-OU"}, {80, "+OU"}}))
          .position;
  EXPECT_EQ(std::tuple(pos.board[0], pos.board[80], pos.kingSquare[Gote], pos.kingSquare[Sente]),
            std::tuple(-OU, OU, 0, 80));
  // A cell naming no piece, even one beginning with O, moves no king square.
  for (const char* cell : {"-OY", "+OX", "-O "}) {
    const Position p = Read(Header + Board({{SquareOf(1, 9), cell}})).position;
    EXPECT_EQ(std::tuple(p.board[SquareOf(1, 9)], p.kingSquare[Gote], p.kingSquare[Sente]),
              std::tuple(0, SquareOf(5, 1), SquareOf(5, 9)))
        << cell;
  }
  // An editor that strips trailing blanks turns a last empty cell " * " into " *".
  std::string stripped = Board({{SquareOf(2, 4), "+KA"}});
  stripped.erase(4 * 30 - 2, 1);
  const CsaRecord record = Read(Header + stripped);
  EXPECT_EQ(record.position.board, Read(Header + Board({{SquareOf(2, 4), "+KA"}})).position.board);
  EXPECT_TRUE(record.passedOver.empty());
}

TEST(CsaRecord, HandLinesAddUpUntilAnotherLine) {
  // A hand holding `count` pieces of `kind`, and one more of `other` if given.
  auto holding = [](PieceKind kind, int count, PieceKind other = Empty) {
    Hand hand;
    hand[kind] = std::int8_t(count);
    if (other != Empty) ++hand[other];
    return hand;
  };
  // The lines after the board, then the hands and the side to move they give.
  const std::tuple<const char*, Hand, Hand, std::optional<Side>> cases[] = {
      {"P+00KI00FU00FU\n", holding(FU, 2, KI), {}, {}},
      {"P-00HI\nP+00OU\n-\n", {}, holding(HI, 1), Gote},
      {"P-00TO00KA00UM\r\n+\r\n", {}, holding(KA, 1), Sente},
      {"P+55FU77KE\nP+00FU", holding(FU, 2, KE), {}, {}},
      {"P+00FU00K\n+2726FU\n", holding(FU, 1), {}, {}},
      {"+\nP+00FU\n", {}, {}, Sente},
      {"P-00KA \t\n- \n", {}, holding(KA, 1), Gote},  // blanks an editor left
  };
  for (const auto& [lines, sente, gote, toMove] : cases) {
    const CsaRecord record = Read(Header + Board() + lines);
    EXPECT_EQ(std::tie(record.position.hand[Sente], record.position.hand[Gote], record.sideToMove),
              std::tie(sente, gote, toMove))
        << lines;
  }
}

TEST(CsaRecord, NotesWhatItPassesOver) {
  using Notes = std::vector<std::string>;
  std::string unlabelled = Board();
  unlabelled[30] = 'Q';  // the second board line
  const std::pair<std::string, Notes> cases[] = {
      {Header + Board({{0, "-KY"}, {10, "+UM"}}) + "P+00FU\nP-\n+\n", {}},
      {Header + Board({{10, "+XX"}, {80, "xFU"}, {20, " FU"}}),
       {"line 5: cell '+XX' on 82", "line 12: cell 'xFU' on 19"}},
      {Header + unlabelled, {"line 5: not labelled P2"}},
      {Header + Board() + "P+00OU00FU00K\nP-00TO\n",
       {"line 13: hand entry '00OU'", "line 13: hand entry '00K'", "line 14: hand entry '00TO'"}},
  };
  for (const auto& [content, notes] : cases) EXPECT_EQ(Read(content).passedOver, notes) << content;
  std::string manyPawns = "P+";
  for (int i = 0; i < 100; ++i) manyPawns += "00TO";
  EXPECT_EQ(Read(Header + Board() + manyPawns + "\n").passedOver.size(), 64u);
}

// A file that cannot be opened or is no regular file is refused in the words every reader
// shares, held by the explainer's catalogue (a record missing or replaced by a FIFO).
TEST(CsaRecord, UnusableRecordsAreRefused) {
  std::string shortLine = Board(), cutName = Board({{SquareOf(1, 4), "+KA"}}), pawns;
  shortLine.erase(4 * 30 - 3, 2);  // the fourth board line ends " " instead of " * "
  cutName.erase(4 * 30 - 2, 1);    // ... or "+K" instead of "+KA"
  for (int i = 0; i < 128; ++i) pawns += "00FU";
  // 256 pawns would wrap an 8-bit count to 0.
  const std::string hugeHand = std::string("P+") + pawns + "\nP+" + pawns + "\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", "only 0 lines, a record needs three header and nine board lines"},
      {Header + Board().substr(0, 30 * 8),
       "only 11 lines, a record needs three header and nine board lines"},
      {Header + shortLine, "line 7: board line shorter than its nine cells"},
      {Header + cutName, "line 7: board line shorter than its nine cells"},
      {"V2.2\n" + Board() + "P+00KA\nP-\n",
       "line 11: 'P+00KA' is not the board line P8; a record "
       "has exactly three header lines, then the board lines P1 to P9"},
      {"V2.2\n", "only 1 line, a record needs three header and nine board lines"},
      {Header + "P1\n", "line 4: board line shorter than its nine cells"},
      {Header + Board({{SquareOf(5, 9), " * "}}) + "P+00OU\n",
       "0 kings of Sente on the board, there must be exactly one"},
      {Header + Board() + hugeHand, "127 pieces besides the kings, a set has 38"},
  };
  for (const auto& [content, problem] : cases) {
    const test::TempFile file(content);
    EXPECT_EQ(test::ThrownMessage<InputError>([&] { ReadCsaFile(file.path()); }),
              file.path() + ": " + problem)
        << content;
  }
}

}  // namespace
}  // namespace fv
