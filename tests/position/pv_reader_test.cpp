#include <gtest/gtest.h>

#include <tuple>

#include "position/pv_reader.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

std::string Repeat(const std::string& move, int times) {
  return times > 0 ? move + Repeat(move, times - 1) : "";
}

// A marker line with all fifteen tags, the first with `sign`.
std::string FullLine(char sign, const std::string& move) {
  std::string line = "  8 ";
  for (int n = 1; n <= 15; ++n)
    line.append(" ").append(std::to_string(n)).append(".").append(1, n == 1 ? sign : '+') += move;
  return line + "\n";
}

// `warnings`: each notice's message on a line of its own; every notice names the log.
struct PvResult {
  std::string text;
  int side;
  std::string warnings;
};

PvResult ReadLog(const std::string& path) {
  Notices notices;
  PvResult result;
  result.side = ReadPvText(path, result.text, notices);
  for (const Notice& notice : notices) {
    EXPECT_EQ(notice.file, path);
    result.warnings += notice.message + "\n";
  }
  return result;
}

TEST(PvReader, CollectsTaggedMovesAndFirstSide) {
  // What the case shows, the log, the PV text and the first side.
  const std::tuple<const char*, std::string, std::string, int> cases[] = {
      {"two moves", "  8  +120 1.+7776FU 2.-3334FU\n", "7776FU3334FU", 0},
      {"gote first", "  8  1.-2233KA\n", "2233KA", 1},
      {"tags from 10 skip the sign", "  8  1.+1112FU 9.+1112FU 10.+2726FU 11.-2122KA\n",
       "1112FU1112FU2726FU2122KA", 0},
      {"only marker lines", "  7  1.+1111FU\n  8  1.+7776FU\n  9  1.+2222FU\n", "7776FU", 0},
      {"a decoy 1. is move 1 and its sign", "  8  value 1.50 1.-7776FU\n", "0 1.-7", 0},
      {"marker lines append, the last sign wins",
       FullLine('+', "7776FU") + "x\n" + FullLine('-', "3334FU"),
       Repeat("7776FU", 15) + Repeat("3334FU", 15), 1},
      {"pruning before the PV", "pruning\n" + FullLine('+', "7776FU"), "", 0},
      {"hashing stops the scan", FullLine('+', "7776FU") + "hashing\n" + FullLine('-', "2726FU"),
       Repeat("7776FU", 15), 0},
      {"a move cut by the line end keeps it", "  8  1.+7776FU 2.-33\r\n", "7776FU33\n", 0},
      {"tag at the end of the file", "  8  1.", "", 0},
      {"bytes of an earlier line are never read", "xxxxxxxxxxxxxx 2.-3334FU\n  8  1.\n", "", 0},
      {"PV continued on the next line", "  8  1.+7776FU\n2.-3334FU\n", "7776FU3334FU", 0},
      {"lines read for a tag are not examined",
       "  8  1.+7776FU\npruning 2.-3334FU\n  8  1.-2726FU\n", "7776FU3334FU", 0},
      {"a tag missing in two lines is skipped", "  8  1.+7776FU\nnothing\n3.+2726FU\n",
       "7776FU2726FU", 0},
      {"at the end of the file the last line is searched again", "  8  1.+7776FU 3.+2726FU\n",
       "7776FU2726FU", 0},
  };
  for (const auto& [what, log, text, side] : cases) {
    const PvResult result = ReadLog(test::TempFile(log).path());
    EXPECT_EQ(std::tuple(result.text, result.side, result.warnings.empty()),
              std::tuple(text, side, !text.empty()))
        << what;
  }
}

TEST(PvReader, EmptyOrOverlongPvWarns) {
  const PvResult missing = ReadLog("/nonexistent/n000.log");
  EXPECT_EQ(missing.text + missing.warnings,
            "warning: cannot open (No such file or directory), the PV is empty\n");
  EXPECT_EQ(ReadLog(test::TempFile("depth 7 1.+7776FU\n").path()).warnings,
            "warning: no PV found, the PV is empty\n");
  const PvResult overlong = ReadLog(test::TempFile(Repeat(FullLine('+', "7776FU"), 12)).path());
  EXPECT_EQ(overlong.text, Repeat("7776FU", 170));
  EXPECT_NE(
      overlong.warnings.find("warning: PV longer than 1023 characters, kept its first 170 moves\n"),
      std::string::npos);
}

// After the "  8  " line, where another engine may print statistics after a
// short PV, a text without the form of a move ends the PV; on the "  8  " line
// itself the PV check refuses it later.
TEST(PvReader, NoMoveOnALaterLineEndsThePv) {
  // What the case shows, the log, the PV text and the warnings.
  const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
      {"statistics after a short PV",
       "  8  1.+7776FU 2.-3334FU 3.+2726FU\nhashfull 4.5% time 5.1s\n", "7776FU3334FU2726FU",
       "warning: line 2: move 4 (% time) is not a move; the PV ends before it\n"},
      {"a figure with a point", "  8  1.+7776FU\nnps 10.5M time 0.4s\n", "7776FU",
       "warning: line 2: move 10 (M time) is not a move; the PV ends before it\n"},
      {"a move cut by the end of the file", "  8  1.+7776FU\n2.-33", "7776FU",
       "warning: line 2: move 2 (33) is not a move; the PV ends before it\n"},
      {"the marker line keeps any text", "  8  1.+7776FU 2.-% tim\n", "7776FU% tim\n", ""},
      {"a later line ends the scan", "  8  1.+7776FU\n2.x\n  8  1.-3334FU\n", "7776FU",
       "warning: line 2: move 2 (\\x0A) is not a move; the PV ends before it\n"},
  };
  for (const auto& [what, log, text, warnings] : cases) {
    const PvResult result = ReadLog(test::TempFile(log).path());
    EXPECT_EQ(std::pair(result.text, result.warnings), std::pair(text, warnings)) << what;
  }
}

// A line of more than 1023 characters arrives in pieces (a line of 1023 and
// its line end does not); the warning names the line once.
TEST(PvReader, LongLinesAreReadInPiecesWithAWarning) {
  const std::string log = "depth 1\n" + std::string(2500, 'x') + "\n" + std::string(1023, 'y') +
                          "\n" + std::string(1000, ' ') + "  8  1.+7776FU 2.-3334FU\n";
  const PvResult result = ReadLog(test::TempFile(log).path());
  const std::string longLine =
      " is longer than 1023 characters and is read in pieces; a move may be cut where a "
      "piece ends\n";
  EXPECT_EQ(result.warnings, "warning: line 2" + longLine + "warning: line 4" + longLine);
  EXPECT_EQ(result.text, "7776FU3334F");  // move 2 is cut where the first piece of line 4 ends
}

}  // namespace
}  // namespace fv
