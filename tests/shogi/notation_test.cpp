#include <gtest/gtest.h>

#include <array>
#include <string>

#include "shogi/movegen.h"
#include "shogi/notation_error.h"
#include "shogi/sfen.h"
#include "shogi/start_position.h"
#include "shogi/usi_move.h"
#include "tests/support/positions.h"
#include "tests/support/refusals.h"

namespace fv {
namespace {

using test::BoardOf;

TEST(Sfen, WrittenFormsReadBackUnchanged) {
  // Gote to move and a full middle game are held by the records' round trip.
  for (const char* text : {"lnsgkgsnl/1r5b1/ppppppp2/9/9/9/PP1PPPPP1/1B5R1/LNSGKGSNL b 2P2p 5",
                           "4k4/9/4+B4/9/9/9/9/9/4K4 b RBGSNL10Pr2g3s3n3l8p 1",
                           "+l+n+sgkg+s+n+l/9/9/9/9/9/9/9/4K4 w - 999"}) {
    const SfenPosition sfen = ParseSfen(text);
    EXPECT_EQ(FormatSfen(sfen.position, sfen.sideToMove, sfen.moveNumber), text);
  }
  EXPECT_EQ(ParseSfen("4k4/9/9/9/9/9/9/9/4K4 b -").moveNumber, 1)
      << "the move number may be left out";
}

// Along a fixed pseudo-random game from the start (captures fill the hands) every
// position reads back from its SFEN and every legal move from its USI text.
TEST(Notation, PositionsAndMovesOfAGameReadBackFromTheirTexts) {
  Board board = BoardOf(StartSfen);
  int ply = 0;
  for (const Move played : test::RandomGame(board, 150, 2024)) {
    const std::string text = FormatSfen(board.ToPosition(), board.SideToMove(), ++ply);
    // The key covers the board, the hands and the side to move.
    ASSERT_EQ(std::pair(BoardOf(text).Key(), ParseSfen(text).moveNumber),
              std::pair(board.Key(), ply));
    std::array<Move, MaxMoves> moves;
    const int count = GenerateLegal(board, moves.data());
    for (int i = 0; i < count; ++i) ASSERT_EQ(ParseUsiMove(board, UsiMoveText(moves[i])), moves[i]);
    board.Make(played);
  }
}

TEST(Sfen, BadStringsRefusedWithTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "SFEN: expected board, side to move, hands and move number, not 0 fields"},
      {"4k4/9/9/9/9/9/9/9/4K4 b - 1 extra", "not 5 fields"},
      {"4k4/9/9/9/9/9/9/4K4 b - 1", "SFEN: the board has 8 ranks, not 9"},
      {"4k4/9/9/9/9/9/9/9/9/4K4 b - 1", "SFEN: more than nine ranks"},
      {"4k5/9/9/9/9/9/9/9/4K4 b - 1", "SFEN: rank 1 has 10 squares, not 9"},
      {"4k4/8/9/9/9/9/9/9/4K4 b - 1", "SFEN: rank 2 has 8 squares, not 9"},
      {"4k4/9/9/9/9/9/9/9/4K4P b - 1", "SFEN: rank 9 has 10 squares, not 9"},
      {"4k4/9/9/9/4x4/9/9/9/4K4 b - 1", "SFEN: unknown piece letter 'x' in the board"},
      {"4k4/9/9/9/4+G4/9/9/9/4K4 b - 1", "SFEN: '+G' does not promote"},
      {"4k4/9/9/9/9/9/9/9/4K3+ b - 1", "SFEN: '+' without a piece"},
      {"4k4/9/9/9/9/9/9/9/4K4 x - 1", "SFEN: side to move 'x' is neither 'b' nor 'w'"},
      {"4k4/9/9/9/9/9/9/9/4K4 b K 1", "SFEN: no piece 'K' can be in hand"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 2 1", "SFEN: hand count without a piece"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 0P 1", "SFEN: a count of 0 for 'P' in hand"},
      {"4k4/9/9/9/9/9/9/9/4K4 b PP 1", "SFEN: 'P' named twice in the hands"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 10P9p 1", "SFEN: 19 pieces 'P', a set has 18"},
      {"4k4/9/9/9/9/9/9/9/4K4 b - 0", "SFEN: move number '0' is not a whole number from 1"},
      {"4k4/9/9/9/9/9/9/9/4K4 b - x", "SFEN: move number 'x'"},
      {"9/9/9/9/9/9/9/9/4K4 b - 1", "SFEN: Gote has 0 kings, not 1"},
  };
  test::ExpectRefusals<NotationError>(cases, ParseSfen);
}

// A text that reads as a move is looked up among the legal moves, whose list the move
// generator's tests hold; one board move and one drop stand for that lookup here.
TEST(UsiMove, TextsThatAreNoMoveOrNoLegalMoveRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "USI move: '' is not a move"}, {"7g7", "'7g7' is not a move"},
      {"7g7f=", "'7g7f=' is not a move"}, {"0g7f", "'0g7f' is not a move"},
      {"7j7f", "'7j7f' is not a move"},   {"K*5e", "'K*5e' is not a move"},
      {"p*5e", "'p*5e' is not a move"},   {"P*5e", "USI move: P*5e is not legal in the position"},
  };
  Board board = BoardOf(StartSfen);
  const std::uint64_t key = board.Key();
  test::ExpectRefusals<NotationError>(cases, [&](const char* move) { ParseUsiMove(board, move); });
  EXPECT_EQ(board.Key(), key) << "the board is left as it was";
}

}  // namespace
}  // namespace fv
