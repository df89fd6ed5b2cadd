#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/search_log.h"
#include "position/pv_reader.h"
#include "shogi/move_text.h"
#include "shogi/sfen.h"
#include "shogi/start_position.h"
#include "tests/support/positions.h"
#include "tests/support/test_files.h"

namespace fv::engine {
namespace {

Board StartBoard(Side side) { return test::BoardOf(FormatSfen(StartPosition(), side)); }

SearchResult ResultWithPv(const std::vector<Move>& pv) {
  SearchResult r;
  // Numbers that would collide with the marker if padded: 8 everywhere.
  for (int depth = 1; depth <= 12; ++depth)
    r.iterations.push_back({depth, depth == 8 ? 8 : -88, 8, 8, pv});
  r.stats.nodes = 888, r.stats.nullMoveCutoffs = r.stats.hashHits = 8, r.milliseconds = 8;
  return r;
}

TEST(SearchLog, ExplainerReadsThePvBackForEveryLength) {
  for (const Side side : {Sente, Gote}) {
    const std::vector<Move> game = test::RandomGame(StartBoard(side), 20, 5);
    for (const int length : {0, 1, 8, 9, 10, 14, 15, 16, 20}) {
      const std::vector<Move> pv(game.begin(), game.begin() + length);
      const std::string log = FormatSearchLog(ResultWithPv(pv), side);
      std::string expected;
      for (int i = 0; i < std::min(length, MaxLoggedPvMoves); ++i) expected += MoveText(pv[i]);
      std::string text;  // read back as the explainer reads it
      Notices notices;
      const int firstSide = ReadPvText(test::TempFile(log).path(), text, notices);
      EXPECT_EQ(text, expected) << "length " << length << "\n" << log;
      EXPECT_TRUE(length == 0 || firstSide == side) << "length " << length;
      // The pruning line ends the PV for a reader that skips lines without a tag.
      EXPECT_EQ(log.compare(log.find('\n', log.find("  8  ")), 8, "\npruning"), 0) << log;
    }
  }
}

TEST(SearchLog, ProgressTextsNameTheViewAndTheTimeLimit) {
  SearchLimits limits;
  // The heading with a time limit is held by the program test of progress lines.
  limits.maxDepth = 8, limits.timeMs = 0;
  EXPECT_EQ(SearchHeading(Gote, limits),
            "Gote to move, searching to depth 8 without a time "
            "limit; scores are from Sente's view");
  limits.timeMs = 4000;
  SearchResult result = ResultWithPv({});
  EXPECT_EQ(TimeLimitLine(result, limits), "");
  result.unfinishedDepth = 7;
  EXPECT_EQ(TimeLimitLine(result, limits),
            "the time limit of 4000 ms ended the search during depth 7 of 8; the result is that of "
            "depth 6");
  // No rate for a search of under a millisecond.
  result.milliseconds = 0;
  const std::string log = FormatSearchLog(result, Sente);
  EXPECT_NE(log.find("\nnodes 888 with 0 in quiescence, 0 ms\n"), std::string::npos) << log;
  result.milliseconds = 2;
  EXPECT_NE(FormatSearchLog(result, Sente).find(", 2 ms, 444000 nodes per second\n"),
            std::string::npos);
}

// The PV line's form is held by the reader above; here the mate scores.
TEST(SearchLog, MateScores) {
  Iteration it{3, MateScore - 3, 100, 5, test::RandomGame(StartBoard(Sente), 2, 5)};
  EXPECT_EQ(IterationLine(it).substr(0, 22), "depth 3 score mate+3 n");
  it.score = -(MateScore - 2);
  EXPECT_NE(PvLine(it).find("best score mate-2 pv  8  1."), std::string::npos) << PvLine(it);
}

}  // namespace
}  // namespace fv::engine
