#include "position/board_text.h"

#include <cstdlib>

namespace fv {

namespace {

void AppendHandLine(const Position& pos, int side, std::string& out) {
  out += side == Sente ? "P+" : "P-";
  for (int kind = HandKindCount - 1; kind >= 0; --kind) {
    for (int i = 0; i < pos.hand[side][kind]; ++i) (out += "00") += PieceNames[kind];
  }
  out += '\n';
}

}  // namespace

std::string BoardText(const Position& pos) {
  std::string out = "   9  8  7  6  5  4  3  2  1\n";
  for (int rank = 1; rank <= 9; ++rank) {
    (out += 'P') += char('0' + rank);
    for (int file = 9; file >= 1; --file) {
      const PieceCode code = pos.board[SquareOf(file, rank)];
      if (code == 0)
        out += " * ";
      else
        (out += code > 0 ? '+' : '-') += PieceNames[std::abs(code) - 1];
    }
    out += '\n';
  }
  AppendHandLine(pos, Sente, out);
  AppendHandLine(pos, Gote, out);
  return out;
}

}  // namespace fv
