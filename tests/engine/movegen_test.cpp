#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "shogi/move_rules.h"
#include "shogi/move_text.h"
#include "shogi/movegen.h"
#include "shogi/perft.h"
#include "shogi/sfen.h"
#include "tests/engine/test_positions.h"
#include "tests/support/positions.h"

namespace fv::engine {
namespace {

using test::BoardOf;

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

TEST(Perft, InitialPositionToDepthFour) {
  Board b = BoardOf(StartSfen);
  const std::uint64_t expected[] = {1, 30, 900, 25'470, 719'731};
  for (int depth = 0; depth <= 4; ++depth)
    EXPECT_EQ(Perft(b, depth), expected[depth]) << "depth " << depth;
  EXPECT_EQ(b.Key(), BoardOf(StartSfen).Key()) << "make/unmake restores the key";
}

TEST(Perft, TacticalPositionsAgreeWithBruteForce) {
  for (const char* sfen : testing::TacticalPositions) {
    Board b = BoardOf(sfen);
    for (int depth = 1; depth <= 3; ++depth)
      EXPECT_EQ(Perft(b, depth), BrutePerft(b, depth)) << sfen << " depth " << depth;
  }
  // 593 legal moves: Sente drops seven kinds, Gote answers checks by drops.
  Board many = BoardOf("R8/2K1S1SSk/4B4/9/9/9/9/9/1L1L1L3 b RBGSNLP3g3n17p 1");
  EXPECT_EQ(Perft(many, 1), 593u);
  EXPECT_EQ(std::pair(Perft(many, 2), BrutePerft(many, 2)), std::pair(105'677ul, 105'677ul));
}

TEST(Perft, EveryLegalMoveListMatchesBruteForceAlongARandomWalk) {
  // At each node of a fixed pseudo-random game both generators give the same
  // set, and the rule finder agrees on each move that obeys the pieces' movement.
  for (const char* sfen : testing::TacticalPositions) {
    Board b = BoardOf(sfen);
    const std::vector<Move> game = test::RandomGame(b, 60, 12345);
    for (std::size_t ply = 0; ply <= game.size(); ++ply) {
      std::array<Move, MaxMoves> fast, pseudo;
      std::vector<Move> quick(fast.begin(), fast.begin() + GenerateLegal(b, fast.data()));
      std::vector<Move> slow = BruteLegal(b);
      std::sort(quick.begin(), quick.end());
      std::sort(slow.begin(), slow.end());
      ASSERT_EQ(quick, slow) << "ply " << ply;
      for (int i = 0, count = GeneratePseudoLegal(b, pseudo.data()); i < count; ++i) {
        const bool legal = std::binary_search(slow.begin(), slow.end(), pseudo[i]);
        EXPECT_EQ(FindBrokenRule(b, pseudo[i]) == BrokenRule::None, legal);
      }
      if (ply < game.size()) b.Make(game[ply]);
    }
  }
}

TEST(MoveRules, EachIllegalMoveRefusedAndEachLegalOneFound) {
  // The rules a pseudo-legal move can break besides the king's safety, which the
  // brute force above decides by making the move. Kings on 5i and 5a unless the
  // position says otherwise. Where each kind may be dropped and the second pawn on
  // a file are held by the 593 drops and Gote's answers counted above, mate by a dropped
  // pawn or gold by the search's mate test.
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      // what, sfen, move
      {"a promoted pawn does not block a drop", "4k4/9/9/4+P4/9/9/9/9/4K4 b P 1", "0055FU", true},
      {"pawn drop check with an escape", "8k/9/7G1/9/9/9/9/9/4K4 b P 1", "0012FU", true},
      {"pawn push mate", "8k/9/6NGP/9/9/9/9/9/4K4 b - 1", "1312FU", true},
      {"unpromoted pawn to the last rank", "4k4/8P/9/9/9/9/9/9/4K4 b - 1", "1211FU", false},
      {"promoted pawn to the last rank", "4k4/8P/9/9/9/9/9/9/4K4 b - 1", "1211TO", true},
      {"unpromoted knight to the second rank", "4k4/9/9/7N1/9/9/9/9/4K4 b - 1", "2412KE", false},
      {"promoted knight to the second rank", "4k4/9/9/7N1/9/9/9/9/4K4 b - 1", "2412NK", true},
      {"unpromoted lance to the last rank", "4k4/9/9/9/8L/9/9/9/4K4 b - 1", "1511KY", false},
      {"lance unpromoted on the third rank", "4k4/9/9/9/8L/9/9/9/4K4 b - 1", "1513KY", true},
      {"silver promoting on leaving the zone", "4k4/9/7S1/9/9/9/9/9/4K4 b - 1", "2334NG", true},
      {"silver promoting outside the zone", "4k4/9/9/9/7S1/9/9/9/4K4 b - 1", "2534NG", false},
      {"gold never promotes", "4k4/9/9/7G1/9/9/9/9/4K4 b - 1", "2423KI", true},
      {"gote pawn must promote on rank 9", "4k4/9/9/9/9/9/9/8p/4K4 w - 1", "1819FU", false},
      {"gote pawn promotes on rank 7", "4k4/9/9/9/9/8p/9/9/4K4 w - 1", "1617TO", true},
  };
  for (const auto& [what, sfen, move, legal] : cases) {
    Board b = BoardOf(sfen);
    std::array<Move, MaxMoves> moves;
    const int n = GenerateLegal(b, moves.data());
    const auto found = [&](Move m) { return MoveText(m) == move; };
    EXPECT_EQ(std::any_of(moves.begin(), moves.begin() + n, found), legal) << what << ": " << move;
  }
  Board b = BoardOf("4k4/9/9/7G1/9/9/9/9/4K4 b - 1");
  const Move goldPromotes =
      MakeBoardMove(CellOf(SquareOf(2, 4)), CellOf(SquareOf(2, 3)), true, KI, NoPiece);
  EXPECT_EQ(FindBrokenRule(b, goldPromotes), BrokenRule::CannotPromote);
}

}  // namespace
}  // namespace fv::engine
