#include <gtest/gtest.h>

#include <string>

#include "position/pv_reader.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

using test::CapturedStream;
using test::TempFile;

struct PvResult {
  std::string text;
  int side;
  std::string warnings;
};

std::string Repeat(const std::string& move, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += move;
  return text;
}

// A marker line with all fifteen tags, the first with `sign`.
std::string FullLine(char sign, const std::string& move) {
  std::string line = "  8 ";
  for (int n = 1; n <= 15; ++n) {
    line += ' ';
    line += std::to_string(n);
    line += '.';
    line += n == 1 ? sign : '+';
    line += move;
  }
  return line + "\n";
}

PvResult ReadLog(const std::string& content) {
  const TempFile file(content);
  CapturedStream warnings;
  PvResult result;
  result.side = ReadPvText(file.path(), result.text, warnings.file());
  result.warnings = warnings.text();
  return result;
}

TEST(PvReader, CollectsTaggedMovesAndFirstSide) {
  struct Case { const char* what; std::string log; std::string text; int side; };
  const Case cases[] = {
      {"two moves", "  8  +120 1.+7776FU 2.-3334FU\n", "7776FU3334FU", 0},
      {"gote first", "  8  1.-2233KA\n", "2233KA", 1},
      {"other sign leaves the side", "  8  1.*2233KA\n", "2233KA", 0},
      {"tags from 10 skip the sign",
       "  8  1.+1112FU 2.-1112FU 3.+1112FU 4.-1112FU 5.+1112FU 6.-1112FU 7.+1112FU 8.-1112FU 9.+1112FU "
       "10.+2726FU 11.-2122KA\n",
       "1112FU1112FU1112FU1112FU1112FU1112FU1112FU1112FU1112FU2726FU2122KA", 0},
      {"only lines with the marker", "  7  1.+1111FU\n  8  1.+7776FU\n  9  1.+2222FU\n", "7776FU", 0},
      {"a decoy 1. is taken as move 1", "  8  value 1.50 1.-7776FU\n", "0 1.-7", 0},
      {"every marker line appends, last sign wins", FullLine('+', "7776FU") + "x\n" + FullLine('-', "3334FU"),
       Repeat("7776FU", 15) + Repeat("3334FU", 15), 1},
      {"stop word before the PV", "pruning\n" + FullLine('+', "7776FU"), "", 0},
      {"hashing stops later lines", FullLine('+', "7776FU") + "hashing\n" + FullLine('-', "2726FU"),
       Repeat("7776FU", 15), 0},
      {"a move cut by the line end keeps the line end", "  8  1.+7776FU 2.-33\n", "7776FU33\n", 0},
      {"move at the very end of the file", "  8  1.+7776FU", "7776FU", 0},
      {"CRLF lines", "  8  1.+7776FU 2.-33\r\n", "7776FU33\n", 0},
      {"tag ending the file", "  8  1.", "", 0},
  };
  for (const Case& c : cases) {
    const PvResult result = ReadLog(c.log);
    EXPECT_EQ(result.text, c.text) << c.what;
    EXPECT_EQ(result.side, c.side) << c.what;
  }
}

TEST(PvReader, MissingTagIsLookedForInTheNextLine) {
  struct Case { const char* what; std::string log; std::string text; };
  const Case cases[] = {
      {"PV continues on the next line", "  8  1.+7776FU 2.-3334FU\n3.+2726FU 4.-8384FU\n", "7776FU3334FU2726FU8384FU"},
      {"lines read for tags are not examined", "  8  1.+7776FU\npruning 2.-3334FU\n  8  1.-2726FU\n",
       "7776FU3334FU"},
      {"a tag missing in both lines is skipped", "  8  1.+7776FU\nnothing\n3.+2726FU\n", "7776FU2726FU"},
      {"at the end of the file the last line is searched again", "  8  1.+7776FU 3.+2726FU\n", "7776FU2726FU"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLog(c.log).text, c.text) << c.what;
}

TEST(PvReader, EmptyPvWarns) {
  struct Case { const char* what; std::string log; };
  const Case cases[] = {
      {"no marker line", "depth 7 1.+7776FU\n"}, {"empty file", ""}, {"stop word first", "hashing\n  8  1.+7776FU\n"},
  };
  for (const Case& c : cases) {
    const PvResult result = ReadLog(c.log);
    EXPECT_EQ(result.text, "") << c.what;
    EXPECT_EQ(result.side, 0) << c.what;
    EXPECT_NE(result.warnings.find("warning: no PV found, the PV is empty\n"), std::string::npos) << c.what;
  }
  EXPECT_EQ(ReadLog("  8  1.+7776FU\n").warnings, "");
}

TEST(PvReader, MissingLogGivesEmptyPvAndWarns) {
  std::string text = "stale";
  CapturedStream warnings;
  EXPECT_EQ(ReadPvText("/nonexistent/n000.log", text, warnings.file()), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(warnings.text(),
            "fvexplain: /nonexistent/n000.log: warning: cannot open (No such file or directory), the PV is empty\n");
}

TEST(PvReader, OverlongPvKeepsWholeMovesThatFit) {
  std::string log;
  for (int line = 0; line < 12; ++line) log += FullLine('+', "7776FU");
  const PvResult result = ReadLog(log);
  EXPECT_EQ(result.text.size(), 170u * 6);
  EXPECT_EQ(result.text.substr(result.text.size() - 6), "7776FU");
  EXPECT_NE(result.warnings.find("warning: PV longer than 1023 characters, kept its first 170 moves"), std::string::npos);
}

}  // namespace
}  // namespace fv
