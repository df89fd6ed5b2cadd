// Positions for the evaluation tests and benchmarks, written as the nine board
// lines of a CSA record (rank 1 first, file 9 to file 1, three characters a
// cell: " * " or a sign and a piece name).
#pragma once

#include <array>
#include <string_view>

#include "shogi/position.h"

namespace fv::sample {

inline PieceCode CodeOf(std::string_view cell) {
  for (int kind = 0; kind < PieceKindCount; ++kind) {
    if (cell.substr(1) == PieceNames[kind]) return PieceCode(cell[0] == '-' ? -(kind + 1) : kind + 1);
  }
  return 0;
}

// Board from nine lines; hands from seven counts each (FU..HI).
inline Position Board(const std::array<std::string_view, 9>& ranks,
                      std::array<std::int8_t, HandKindCount> senteHand = {},
                      std::array<std::int8_t, HandKindCount> goteHand = {}) {
  Position pos;
  for (int rank = 0; rank < 9; ++rank) {
    for (int cell = 0; cell < 9; ++cell) {
      const int square = rank * 9 + cell;
      pos.board[square] = CodeOf(ranks[rank].substr(cell * 3, 3));
      if (pos.board[square] == OU) pos.kingSquare[Sente] = std::uint8_t(square);
      if (pos.board[square] == -OU) pos.kingSquare[Gote] = std::uint8_t(square);
    }
  }
  pos.hand[Sente] = senteHand;
  pos.hand[Gote] = goteHand;
  return pos;
}

inline Position StartingPosition() {
  return Board({"-KY-KE-GI-KI-OU-KI-GI-KE-KY",
                " * -HI *  *  *  *  * -KA * ",
                "-FU-FU-FU-FU-FU-FU-FU-FU-FU",
                " *  *  *  *  *  *  *  *  * ",
                " *  *  *  *  *  *  *  *  * ",
                " *  *  *  *  *  *  *  *  * ",
                "+FU+FU+FU+FU+FU+FU+FU+FU+FU",
                " * +KA *  *  *  *  * +HI * ",
                "+KY+KE+GI+KI+OU+KI+GI+KE+KY"});
}

// Two kings alone, empty hands.
inline Position TwoKings(int senteKing, int goteKing) {
  Position pos;
  pos.board[senteKing] = OU;
  pos.board[goteKing] = -OU;
  pos.kingSquare = {std::uint8_t(senteKing), std::uint8_t(goteKing)};
  return pos;
}

}  // namespace fv::sample
