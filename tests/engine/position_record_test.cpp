#include <gtest/gtest.h>

#include <string>

#include "engine/position_record.h"
#include "engine/settings.h"
#include "engine/start_position.h"
#include "position/input_error.h"
#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

const std::string Header = "V2.2\nN+a\nN-b\n";
const std::string StartBoard =
    "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\n"
    "P2 * -HI *  *  *  *  * -KA * \n"
    "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\n"
    "P4 *  *  *  *  *  *  *  *  * \n"
    "P5 *  *  *  *  *  *  *  *  * \n"
    "P6 *  *  *  *  *  *  *  *  * \n"
    "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\n"
    "P8 * +KA *  *  *  *  * +HI * \n"
    "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n";

TEST(PositionRecord, ReadsBoardHandsAndSideToMove) {
  const PositionRecord start = ParsePositionRecord(Header + StartBoard + "P+\nP-\n+\n", "p");
  EXPECT_EQ(start.position.board, StartPosition().board);
  EXPECT_EQ(start.position.kingSquare, StartPosition().kingSquare);
  EXPECT_EQ(start.sideToMove, Sente);
  const PositionRecord gote = ParsePositionRecord(Header + StartBoard + "-\r\n", "p");
  EXPECT_EQ(gote.sideToMove, Gote);
  // Without header lines, and with a move after the side to move (not applied).
  const PositionRecord bare = ParsePositionRecord(StartBoard + "P+\nP-\n-\n-3334FU\n", "p");
  EXPECT_EQ(bare.position.board, StartPosition().board);
  EXPECT_EQ(bare.sideToMove, Gote);
  for (const char* record : testing::TacticalRecords) {
    const PositionRecord r = ParsePositionRecord(record, "p");
    const PositionRecord again = ParsePositionRecord(FormatPositionRecord(r), "p");
    EXPECT_EQ(again.position.board, r.position.board);
    EXPECT_EQ(again.position.hand, r.position.hand);
    EXPECT_EQ(again.sideToMove, r.sideToMove);
  }
}

TEST(PositionRecord, WritesTheRecordLines) {
  PositionRecord r{StartPosition(), Gote};
  r.position.hand[Sente] = {2, 0, 0, 0, 0, 0, 1};
  r.position.hand[Gote] = {0, 0, 0, 0, 0, 1, 0};
  const std::string text = FormatPositionRecord(r);
  EXPECT_NE(text.find("\nP2 * -HI *  *  *  *  * -KA * \n"), std::string::npos);
  EXPECT_NE(text.find("\nP+00HI00FU00FU\nP-00KA\n-\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 9 + 2 + 1);
}

TEST(PositionRecord, RefusesMalformedOrImpossiblePositions) {
  struct Case {
    const char* what;
    std::string text;
    const char* problem;  // part of the message
  };
  std::string twoPawns = StartBoard;
  twoPawns.replace(twoPawns.find("P6 * ") , 5, "P6+FU");
  std::string deadKnight = StartBoard;
  deadKnight.replace(deadKnight.find("P2 * "), 5, "P2+KE");
  deadKnight.replace(deadKnight.find("P9+KY+KE"), 8, "P9+KY * ");
  std::string noKing = StartBoard;
  noKing.replace(noKing.find("+OU"), 3, " * ");
  std::string badCell = StartBoard;
  badCell.replace(badCell.find("P5 * "), 5, "P5+XX");
  std::string check = StartBoard;
  check.replace(check.find("P7+FU+FU+FU+FU+FU"), 17, "P7+FU+FU+FU+FU * ");
  check.replace(check.find("P3-FU-FU-FU-FU-FU"), 17, "P3-FU-FU-FU-FU * ");
  check.replace(check.find("P2 * -HI *  *  * "), 17, "P2 *  *  *  * -HI");
  const Case cases[] = {
      {"no board", Header + "PI\n+\n", "no board line P1"},
      {"too short", Header + "P1\n", "too short"},
      {"no side to move", Header + StartBoard, "side to move"},
      {"bad side line", Header + StartBoard + "P+\n*\n", "side to move"},
      {"board line out of order", Header + "P1" + StartBoard.substr(2, 28) + "P3" + StartBoard.substr(32) + "+\n", "board line 2"},
      {"short board line", Header + "P1-KY\n" + StartBoard.substr(30) + "+\n", "board line 1"},
      {"unknown piece", Header + badCell + "+\n", "bad cell"},
      {"hand entry of a king", Header + StartBoard + "P+00OU\n+\n", "bad entry"},
      {"too many pawns in hand", Header + StartBoard + "P+" + std::string(19 * 4, ' ') + "\n+\n", "bad entry"},
      {"two pawns on a file", Header + twoPawns + "+\n", "two unpromoted pawns"},
      {"knight that can never move", Header + deadKnight + "+\n", "can never move"},
      {"missing king", Header + noKing + "+\n", "one king"},
      {"side not to move in check", Header + check + "-\n", "in check"},
  };
  for (const Case& c : cases) {
    try {
      ParsePositionRecord(c.text, "position.csa");
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const InputError& e) {
      EXPECT_EQ(e.file(), "position.csa") << c.what;
      EXPECT_NE(e.problem().find(c.problem), std::string::npos) << c.what << ": " << e.problem();
    }
  }
}

TEST(Settings, ReadsValuesAndRefusesBadLines) {
  const SearchLimits limits = ParseSettings("# comment\n\ndepth = 5\ntime=0  # no limit\nhash = 64\n", "engine.conf");
  EXPECT_EQ(limits.maxDepth, 5);
  EXPECT_EQ(limits.timeMs, 0);
  EXPECT_EQ(limits.hashMb, 64u);
  EXPECT_EQ(ParseSettings("", "engine.conf").maxDepth, DefaultLimits().maxDepth);
  for (const char* bad : {"depth = 0\n", "depth = 65\n", "depth = 5x\n", "depth\n", "speed = 3\n", "time = -1\n",
                          "hash = 99999999999999999999\n"}) {
    EXPECT_THROW(ParseSettings(bad, "engine.conf"), InputError) << bad;
  }
}

}  // namespace
}  // namespace fv::engine
