#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>

#include "engine/position_record.h"
#include "engine/settings.h"
#include "io/input_error.h"
#include "shogi/start_position.h"
#include "tests/engine/test_positions.h"
#include "tests/support/positions.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"

namespace fv::engine {
namespace {

// Reads a record text the way fvengine reads position.csa.
PositionRecord RecordOf(const std::string& text) {
  return ReadPositionRecord(test::TempFile(text).path());
}

// The board and hand lines are those of the board text, whose test holds their form.
TEST(PositionRecord, WrittenRecordsReadBack) {
  for (const char* sfen : testing::TacticalPositions) {
    const Board board = test::BoardOf(sfen);
    const PositionRecord again =
        RecordOf(FormatPositionRecord({board.ToPosition(), board.SideToMove()}));
    const Position p = board.ToPosition();
    EXPECT_EQ(std::tie(again.position.board, again.position.kingSquare, again.position.hand,
                       again.sideToMove),
              std::tuple(p.board, p.kingSquare, p.hand, board.SideToMove()))
        << sfen;
  }
}

// The record reader's own complaints are tested with it; here what fvengine
// adds: no note passed over, a side to move, and a playable position.
TEST(PositionRecord, RefusesUnplayablePositions) {
  const std::string start = FormatPositionRecord({StartPosition(), Sente});
  const std::string board = start.substr(0, start.size() - 2 - 6);  // without hands and side
  // The starting record with each `from` replaced by the `to` after it.
  auto with = [&](std::initializer_list<std::pair<std::string, std::string>> changes) {
    std::string text = board;
    for (const auto& [from, to] : changes) text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string check = with({{"P7+FU+FU+FU+FU+FU", "P7+FU+FU+FU+FU * "},
                                  {"P3-FU-FU-FU-FU-FU", "P3-FU-FU-FU-FU * "},
                                  {"P2 * -HI *  *  * ", "P2 *  *  *  * -HI"}});
  // What the case shows, the record and the start of the message.
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"no side to move", board + "P+\nP-\n", "expected the side to move"},
      {"board lines out of order", with({{"P2", "P3"}}) + "+\n",
       "cannot use line 5: not labelled P2"},
      {"too many bishops", board + "P-00KA\n+\n", "39 pieces besides the kings"},
      {"two pawns on a file", with({{"P7+FU+FU", "P7+FU * "}, {"P6 * ", "P6+FU"}}) + "+\n",
       "two unpromoted pawns of a side on file 9"},
      {"side not to move in check", check + "-\n", "the side not to move is in check"},
  };
  for (const auto& [what, text, problem] : cases) {
    const test::TempFile file(text);
    const std::string message =
        test::ThrownMessage<InputError>([&] { ReadPositionRecord(file.path()); });
    EXPECT_EQ(message.rfind(file.path() + ": " + problem, 0), 0u) << what << ": " << message;
  }
  // The same board with the side in check to move is fine.
  EXPECT_EQ(RecordOf(check + "+\n").sideToMove, Sente);
}

TEST(Settings, ReadsValuesAndRefusesBadLines) {
  const SearchLimits limits =
      ParseSettings("# comment\n\ndepth = 5\ntime=0  # no limit\nhash = 64\n", "engine.conf")
          .limits;
  EXPECT_EQ(std::tuple(limits.maxDepth, limits.timeMs, limits.hashMb), std::tuple(5, 0, 64u));
  EXPECT_EQ(ParseSettings("", "engine.conf").limits.maxDepth, DefaultLimits().maxDepth);
  const EngineSettings record =
      ParseSettings("position = games/a b.kif \nply = 60\n", "engine.conf");
  EXPECT_EQ(std::tie(record.position, record.ply), std::tuple("games/a b.kif", 60));
  for (const char* bad :
       {"depth = 0\n", "depth = 65\n", "depth = 5x\n", "depth\n", "speed = 3\n", "time = -1\n",
        "hash = 99999999999999999999\n", "position =\n", "ply = -1\n"}) {
    EXPECT_THROW(ParseSettings(bad, "engine.conf"), InputError) << bad;
  }
}

}  // namespace
}  // namespace fv::engine
