#include "shogi/start_position.h"

#include <array>

namespace fv {

Position StartPosition() {
  // Gote's three back ranks, file 9 to file 1; Sente's mirror them.
  constexpr std::array<PieceCode, 27> GoteCamp = {-KY, -KE, -GI, -KI, -OU, -KI, -GI, -KE, -KY,
                                                  0,   -HI, 0,   0,   0,   0,   0,   -KA, 0,
                                                  -FU, -FU, -FU, -FU, -FU, -FU, -FU, -FU, -FU};
  Position pos;
  for (int sq = 0; sq < 27; ++sq) {
    pos.board[sq] = GoteCamp[sq];
    pos.board[80 - sq] = PieceCode(-GoteCamp[sq]);
  }
  pos.kingSquare = {76, 4};
  return pos;
}

}  // namespace fv
