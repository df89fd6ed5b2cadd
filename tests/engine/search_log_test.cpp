#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/move_text.h"
#include "engine/movegen.h"
#include "engine/search_log.h"
#include "engine/start_position.h"
#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

struct ReadPv {
  std::string text;  // six characters a move
  int side = 0;
};

// Reads a log the way the explainer does: lines of at most 1023 characters,
// stop at "pruning" or "hashing", collect the tags "1." to "15." from each
// line holding "  8  ", reading on to the next line for a missing tag.
ReadPv ReadLogLikeTheExplainer(const std::string& log) {
  std::istringstream in(log);
  auto readLine = [&](std::string& buffer) {
    std::string line;
    if (!std::getline(in, line)) return false;
    buffer = line + "\n";
    return true;
  };
  ReadPv out;
  std::string line;
  bool more = readLine(line);
  while (more) {
    if (line.find("pruning") != std::string::npos || line.find("hashing") != std::string::npos) break;
    if (line.find("  8  ") != std::string::npos) {
      std::size_t p = 0;
      for (int n = 1; n <= 15; ++n) {
        const std::string tag = std::to_string(n) + ".";
        std::size_t q = line.find(tag, p);
        if (q == std::string::npos) {
          readLine(line);  // at the end of the text the old line stays
          p = 0;
          q = line.find(tag, p);
          if (q == std::string::npos) continue;
        }
        if (n == 1 && line.size() > q + 2) out.side = line[q + 2] == '+' ? 0 : line[q + 2] == '-' ? 1 : out.side;
        const std::size_t start = q + (n >= 10 ? 4 : 3);
        if (start < line.size()) out.text += line.substr(start, 6);
        p = q + 6;
      }
    }
    more = readLine(line);
  }
  return out;
}

// A legal game of `plies` moves from the root, chosen deterministically.
std::vector<Move> SomeGame(Board b, int plies) {
  std::vector<Move> game;
  std::uint32_t seed = 5;
  for (int i = 0; i < plies; ++i) {
    std::array<Move, MaxMoves> moves;
    const int n = GenerateLegal(b, moves.data());
    seed = seed * 1664525u + 1013904223u;
    game.push_back(moves[(seed >> 8) % n]);
    b.Make(game.back());
  }
  return game;
}

SearchResult ResultWithPv(const std::vector<Move>& pv) {
  SearchResult r;
  // Numbers that would collide with the marker if padded: 8 everywhere.
  for (int depth = 1; depth <= 12; ++depth) r.iterations.push_back({depth, depth == 8 ? 8 : -88, 8, 8, pv});
  r.stats.nodes = 888;
  r.stats.nullMoveCutoffs = 8;
  r.stats.hashHits = 8;
  r.milliseconds = 8;
  return r;
}

TEST(SearchLog, ExplainerReadsThePvBackForEveryLength) {
  for (const int side : {int(Sente), int(Gote)}) {
    Board root;
    root.Set(StartPosition(), side);
    const std::vector<Move> game = SomeGame(root, 20);
    for (const int length : {0, 1, 8, 9, 10, 14, 15, 16, 20}) {
      const std::vector<Move> pv(game.begin(), game.begin() + length);
      const std::string log = FormatSearchLog(ResultWithPv(pv), side);
      std::string expected;
      for (int i = 0; i < std::min(length, MaxLoggedPvMoves); ++i) expected += MoveText(pv[i]);
      const ReadPv read = ReadLogLikeTheExplainer(log);
      EXPECT_EQ(read.text, expected) << "length " << length << "\n" << log;
      if (length > 0) {
        EXPECT_EQ(read.side, side);
      }
    }
  }
}

TEST(SearchLog, OnlyThePvLineHoldsTheMarkerAndStatisticsFollowIt) {
  Board root;
  root.Set(StartPosition(), Sente);
  const std::string log = FormatSearchLog(ResultWithPv(SomeGame(root, 9)), Sente);
  std::istringstream in(log);
  std::string line;
  int markers = 0;
  bool pvSeen = false, pruningNext = false;
  while (std::getline(in, line)) {
    if (pruningNext) {
      EXPECT_NE(line.find("pruning"), std::string::npos);
      pruningNext = false;
    }
    if (line.find("  8  ") != std::string::npos) {
      ++markers;
      pvSeen = pruningNext = true;
      EXPECT_EQ(line.find("1.+"), line.find("  8  ") + 5) << line;
      continue;
    }
    if (pvSeen) {
      for (std::size_t i = 0; i + 1 < line.size(); ++i)
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(line[i])) && line[i + 1] == '.') << line;
    }
  }
  EXPECT_EQ(markers, 1);
}

TEST(SearchLog, PvLineFormAndMateScores) {
  Board root;
  root.Set(StartPosition(), Sente);
  const std::vector<Move> game = SomeGame(root, 11);
  Iteration it{3, 87, 100, 5, game};
  const std::string line = PvLine(it);
  EXPECT_EQ(line.substr(0, 23), "best score 87 pv  8  1.");
  EXPECT_NE(line.find(" 10.-"), std::string::npos);
  EXPECT_NE(line.find(" 11.+"), std::string::npos);
  EXPECT_EQ(line.back(), MoveText(game.back()).back());
  it.score = MateScore - 3;
  EXPECT_EQ(IterationLine(it).substr(0, 22), "depth 3 score mate+3 n");
  it.score = -(MateScore - 2);
  EXPECT_NE(PvLine(it).find("score mate-2 pv"), std::string::npos);
}

}  // namespace
}  // namespace fv::engine
