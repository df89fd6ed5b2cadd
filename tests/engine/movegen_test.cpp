#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "shogi/move_text.h"
#include "shogi/movegen.h"
#include "shogi/perft.h"
#include "shogi/start_position.h"
#include "tests/engine/test_positions.h"

namespace fv::engine {
namespace {

using testing::BoardOf;
using testing::PositionWith;

// Legal moves found the slow way: every pseudo-legal move is tried, kept when
// the mover's king is safe, and a pawn drop is refused when it leaves the
// opponent in check without a legal reply.
std::vector<Move> BruteLegal(Board& b) {
  std::array<Move, MaxMoves> pseudo;
  const int n = GeneratePseudoLegal(b, pseudo.data());
  std::vector<Move> legal;
  for (int i = 0; i < n; ++i) {
    const Move m = pseudo[i];
    b.Make(m);
    bool ok = !b.MoverKingAttacked();
    if (ok && IsDrop(m) && DropKind(m) == FU && b.InCheck()) ok = !BruteLegal(b).empty();
    b.Unmake(m);
    if (ok) legal.push_back(m);
  }
  return legal;
}

std::uint64_t BrutePerft(Board& b, int depth) {
  if (depth == 0) return 1;
  std::uint64_t leaves = 0;
  for (const Move m : BruteLegal(b)) {
    b.Make(m);
    leaves += BrutePerft(b, depth - 1);
    b.Unmake(m);
  }
  return leaves;
}

std::vector<std::string> LegalTexts(Board& b) {
  std::array<Move, MaxMoves> moves;
  const int n = GenerateLegal(b, moves.data());
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(MoveText(moves[i]));
  return texts;
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

bool Contains(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

TEST(Perft, InitialPositionToDepthFour) {
  Board b;
  b.Set(StartPosition(), Sente);
  const std::uint64_t expected[] = {1, 30, 900, 25'470, 719'731};
  for (int depth = 0; depth <= 4; ++depth) EXPECT_EQ(Perft(b, depth), expected[depth]) << "depth " << depth;
  EXPECT_EQ(b.Key(), BoardOf({StartPosition(), Sente}).Key()) << "make/unmake restores the key";
}

TEST(Perft, TacticalPositionsAgreeWithBruteForce) {
  for (std::size_t i = 0; i < testing::TacticalRecords.size(); ++i) {
    Board b = BoardOf(testing::RecordOf(testing::TacticalRecords[i]));
    for (int depth = 1; depth <= 3; ++depth)
      EXPECT_EQ(Perft(b, depth), BrutePerft(b, depth)) << "record " << i << " depth " << depth;
  }
}

TEST(Perft, ManyPiecesInHandAgreeWithBruteForce) {
  // 593 legal moves: Sente drops seven kinds, Gote answers checks by drops.
  Board b = BoardOf(testing::RecordOf(
      std::string("'\n'\n'\nP1+HI *  *  *  *  *  *  *  * \nP2 *  * +OU * +GI * +GI+GI-OU\nP3 *  *  *  * +KA *  *  *  * \n"
      "P4 *  *  *  *  *  *  *  *  * \nP5 *  *  *  *  *  *  *  *  * \nP6 *  *  *  *  *  *  *  *  * \n"
      "P7 *  *  *  *  *  *  *  *  * \nP8 *  *  *  *  *  *  *  *  * \nP9 * +KY * +KY * +KY *  *  * \n"
      "P+00HI00KA00KI00GI00KE00KY00FU\nP-00KI00KI00KI00KE00KE00KE" + Repeat("00FU", 17) + "\n+\n")));
  EXPECT_EQ(Perft(b, 1), 593u);
  EXPECT_EQ(Perft(b, 2), 105'677u);
  EXPECT_EQ(Perft(b, 2), BrutePerft(b, 2));
}

TEST(Perft, EveryLegalMoveListMatchesBruteForceAlongARandomWalk) {
  // A fixed pseudo-random game: at each node both generators must give the same set.
  for (const char* record : testing::TacticalRecords) {
    Board b = BoardOf(testing::RecordOf(record));
    std::uint32_t seed = 12345;
    for (int ply = 0; ply < 60; ++ply) {
      std::array<Move, MaxMoves> fast;
      const int n = GenerateLegal(b, fast.data());
      std::vector<Move> slow = BruteLegal(b);
      std::vector<Move> quick(fast.begin(), fast.begin() + n);
      std::sort(quick.begin(), quick.end());
      std::sort(slow.begin(), slow.end());
      ASSERT_EQ(quick, slow) << "ply " << ply;
      if (n == 0) break;
      seed = seed * 1103515245u + 12345u;
      b.Make(quick[(seed >> 8) % n]);
    }
  }
}

struct RuleCase {
  const char* what;
  PositionRecord position;
  const char* move;
  bool legal;
};

TEST(MoveRules, EachIllegalMoveRefusedAndEachLegalOneFound) {
  const std::array<std::int8_t, 7> pawn = {1, 0, 0, 0, 0, 0, 0};
  const std::array<std::int8_t, 7> all = {1, 1, 1, 1, 1, 1, 1};
  // Gote king in the corner; a Sente gold on 2c guards 1b and 2b.
  const PositionRecord corner = PositionWith({{OU, 5, 9}, {-OU, 1, 1}, {KI, 2, 3}, {KE, 3, 3}}, all);
  const PositionRecord cornerNoKnight = PositionWith({{OU, 5, 9}, {-OU, 1, 1}, {KI, 2, 3}}, pawn);
  const RuleCase cases[] = {
      {"second pawn on a file", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {FU, 5, 7}}, pawn), "0054FU", false},
      {"pawn on a free file", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {FU, 5, 7}}, pawn), "0044FU", true},
      {"a promoted pawn does not block a drop", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {TO, 5, 4}}, pawn), "0055FU", true},
      {"pawn drop mate", corner, "0012FU", false},
      {"pawn drop check with an escape", cornerNoKnight, "0012FU", true},
      {"gold drop mate", corner, "0012KI", true},
      {"pawn push mate", PositionWith({{OU, 5, 9}, {-OU, 1, 1}, {KI, 2, 3}, {KE, 3, 3}, {FU, 1, 3}}), "1312FU", true},
      {"pawn drop on the last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, pawn), "0011FU", false},
      {"lance drop on the last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, all), "0011KY", false},
      {"knight drop on the second rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, all), "0012KE", false},
      {"knight drop on the third rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, all), "0013KE", true},
      {"gote pawn drop on its last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, {}, pawn, Gote), "0019FU", false},
      {"gote knight drop on its eighth rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}}, {}, all, Gote), "0018KE", false},
      {"unpromoted pawn to the last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {FU, 1, 2}}), "1211FU", false},
      {"promoted pawn to the last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {FU, 1, 2}}), "1211TO", true},
      {"unpromoted knight to the second rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {KE, 2, 4}}), "2412KE", false},
      {"promoted knight to the second rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {KE, 2, 4}}), "2412NK", true},
      {"unpromoted lance to the last rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {KY, 1, 5}}), "1511KY", false},
      {"lance staying unpromoted on the third rank", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {KY, 1, 5}}), "1513KY", true},
      {"silver promoting on leaving the zone", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {GI, 2, 3}}), "2334NG", true},
      {"silver promoting outside the zone", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {GI, 2, 5}}), "2534NG", false},
      {"gold never promotes", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {KI, 2, 4}}), "2423KI", true},
      {"gote pawn must promote on rank 9", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {-FU, 1, 8}}, {}, {}, Gote), "1819FU", false},
      {"gote pawn promotes on rank 7", PositionWith({{OU, 5, 9}, {-OU, 5, 1}, {-FU, 1, 6}}, {}, {}, Gote), "1617TO", true},
      {"pinned gold leaves the line", PositionWith({{OU, 5, 9}, {KI, 5, 8}, {-HI, 5, 2}, {-OU, 1, 1}}), "5848KI", false},
      {"pinned gold moves along the line", PositionWith({{OU, 5, 9}, {KI, 5, 8}, {-HI, 5, 2}, {-OU, 1, 1}}), "5857KI", true},
      {"pinned bishop takes its pinner", PositionWith({{OU, 9, 9}, {KA, 8, 8}, {-UM, 5, 5}, {-OU, 1, 1}}), "8855KA", true},
      {"king steps into a lance file", PositionWith({{OU, 5, 9}, {-KY, 4, 1}, {-OU, 1, 1}}), "5948OU", false},
      {"king steps beside the lance", PositionWith({{OU, 5, 9}, {-KY, 4, 1}, {-OU, 1, 1}}), "5958OU", true},
      {"king moves along the checking rook's line", PositionWith({{OU, 5, 8}, {-HI, 5, 1}, {-OU, 1, 1}}), "5859OU", false},
      {"in check a free move is refused", PositionWith({{OU, 5, 9}, {FU, 1, 7}, {-HI, 5, 1}, {-OU, 1, 1}}, all), "1716FU", false},
      {"in check a drop may block", PositionWith({{OU, 5, 9}, {-HI, 5, 1}, {-OU, 1, 1}}, all), "0055GI", true},
      {"in check the checker may be taken", PositionWith({{OU, 5, 9}, {KI, 4, 8}, {-KE, 4, 7}, {-OU, 1, 1}}), "4847KI", true},
      {"a double check leaves only king moves",
       PositionWith({{OU, 5, 9}, {KI, 4, 8}, {-KE, 4, 7}, {-HI, 5, 1}, {-OU, 1, 1}}), "4847KI", false},
      {"a knight check cannot be blocked", PositionWith({{OU, 5, 9}, {-KE, 4, 7}, {-OU, 1, 1}}, all), "0058KI", false},
  };
  for (const RuleCase& c : cases) {
    Board b = BoardOf(c.position);
    EXPECT_EQ(Contains(LegalTexts(b), c.move), c.legal) << c.what << ": " << c.move;
  }
}

}  // namespace
}  // namespace fv::engine
