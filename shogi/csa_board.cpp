#include "shogi/csa_board.h"

namespace fv {

std::string CsaBoardLines(const Position& pos) {
  std::string out;
  for (int rank = 1; rank <= 9; ++rank) {
    out += 'P';
    out += char('0' + rank);
    for (int file = 9; file >= 1; --file) {
      const PieceCode code = pos.board[SquareOf(file, rank)];
      if (code == 0) {
        out += " * ";
      } else {
        out += code > 0 ? '+' : '-';
        out += PieceNames[(code > 0 ? code : -code) - 1];
      }
    }
    out += '\n';
  }
  for (const Side side : {Sente, Gote}) {
    out += side == Sente ? "P+" : "P-";
    for (const PieceKind kind : HandKindsHighestFirst)
      for (int n = 0; n < pos.hand[side][kind]; ++n) {
        out += "00";
        out += PieceNames[kind - 1];
      }
    out += '\n';
  }
  return out;
}

}  // namespace fv
