#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

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

using testing::RecordOf;

TEST(PositionRecord, ReadsBoardHandsAndSideToMove) {
  const PositionRecord start = RecordOf(Header + StartBoard + "P+\nP-\n+\n");
  EXPECT_EQ(start.position.board, StartPosition().board);
  EXPECT_EQ(start.position.kingSquare, StartPosition().kingSquare);
  EXPECT_EQ(start.sideToMove, Sente);
  // CRLF line ends, and a move after the side to move (not applied).
  const PositionRecord gote = RecordOf("V2.2\r\n'\r\n'\r\n" + StartBoard + "-\r\n-3334FU\r\n");
  EXPECT_EQ(gote.position.board, StartPosition().board);
  EXPECT_EQ(gote.sideToMove, Gote);
  for (const char* record : testing::TacticalRecords) {
    const PositionRecord r = RecordOf(record);
    const PositionRecord again = RecordOf(FormatPositionRecord(r));
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

TEST(PositionRecord, RefusesMalformedOrUnplayablePositions) {
  struct Case {
    const char* what;
    std::string text;
    const char* problem;  // the start of the message
  };
  // The starting board with some cells replaced, each `from` by the `to` after it.
  auto with = [](std::initializer_list<std::pair<std::string, std::string>> changes) {
    std::string board = StartBoard;
    for (const auto& [from, to] : changes) board.replace(board.find(from), from.size(), to);
    return board;
  };
  const std::string check = with({{"P7+FU+FU+FU+FU+FU", "P7+FU+FU+FU+FU * "},
                                  {"P3-FU-FU-FU-FU-FU", "P3-FU-FU-FU-FU * "},
                                  {"P2 * -HI *  *  * ", "P2 *  *  *  * -HI"}});
  const Case cases[] = {
      {"no header lines", StartBoard + "P+\nP-\n+\n", "line 10: board line shorter"},
      {"too short", Header + "P1\n", "line 4: board line shorter"},
      {"too few lines", "x\n", "only 1 lines"},
      {"no side to move", Header + StartBoard, "expected the side to move"},
      {"bad side line", Header + StartBoard + "P+\n*\n", "expected the side to move"},
      {"board lines out of order", Header + with({{"P2", "P3"}}) + "+\n", "cannot use line 5: not labelled P2"},
      {"unknown piece", Header + with({{"P5 * ", "P5+XX"}}) + "+\n", "cannot use line 8: cell '+XX' on 95"},
      {"hand entry of a king", Header + StartBoard + "P+00OU\n+\n", "cannot use line 13: hand entry '00OU'"},
      {"too many bishops", Header + StartBoard + "P-00KA\n+\n", "39 pieces besides the kings"},
      {"two pawns on a file", Header + with({{"P7+FU+FU", "P7+FU * "}, {"P6 * ", "P6+FU"}}) + "+\n",
       "two unpromoted pawns of a side on file 9"},
      {"two Gote pawns on a file", Header + with({{"P3-FU-FU", "P3-FU * "}, {"P4 *  *  *  * ", "P4 *  *  * -FU"}}) + "+\n",
       "two unpromoted pawns of a side on file 6"},
      {"knight that can never move", Header + with({{"P9+KY+KE", "P9+KY * "}, {"P2 * ", "P2+KE"}}) + "+\n",
       "+KE on 92 can never move"},
      {"missing king", Header + with({{"+OU", " * "}}) + "+\n", "0 kings of Sente"},
      {"side not to move in check", Header + check + "-\n", "the side not to move is in check"},
  };
  for (const Case& c : cases) {
    const test::TempFile file(c.text);
    try {
      ReadPositionRecord(file.path());
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const InputError& e) {
      EXPECT_EQ(e.file(), file.path()) << c.what;
      EXPECT_EQ(e.problem().rfind(c.problem, 0), 0u) << c.what << ": " << e.problem();
    }
  }
  // The same board with the side in check to move is fine.
  EXPECT_EQ(RecordOf(Header + check + "+\n").sideToMove, Sente);
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
