// Positions for tests, written as record text, and fixed pseudo-random games.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "shogi/board.h"
#include "shogi/game_record.h"
#include "shogi/movegen.h"
#include "shogi/record_reader.h"

namespace fv::test {

// The board at the start of a record in any notation the record reader knows,
// most often one SFEN line ("4k4/9/9/9/9/9/9/9/4K4 b P 1") or a CSA record.
inline Board BoardOf(std::string_view record) { return BoardAfter(ReadRecord(record, ""), 0); }

inline Position PositionOf(std::string_view record) { return BoardOf(record).ToPosition(); }

// Two kings alone on the given squares (0..80), empty hands.
inline Position TwoKings(int senteKing, int goteKing) {
  Position pos;
  pos.board[senteKing] = OU;
  pos.board[goteKing] = -OU;
  pos.kingSquare = {std::uint8_t(senteKing), std::uint8_t(goteKing)};
  return pos;
}

// A fixed pseudo-random game of `plies` legal moves from `board`, fewer when
// it reaches a position without a legal move.
inline std::vector<Move> RandomGame(Board board, int plies, std::uint32_t seed) {
  std::vector<Move> game;
  for (std::array<Move, MaxMoves> moves; int(game.size()) < plies;) {
    const int count = GenerateLegal(board, moves.data());
    if (count == 0) break;
    seed = seed * 1103515245u + 12345u;
    game.push_back(moves[(seed >> 8) % count]);
    board.Make(game.back());
  }
  return game;
}

}  // namespace fv::test
