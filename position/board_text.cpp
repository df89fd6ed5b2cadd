#include "position/board_text.h"

#include <cstdlib>

namespace fv {

namespace {

void PrintHandLine(const Position& pos, int side, std::FILE* out) {
  std::fprintf(out, "P%c", side == Sente ? '+' : '-');
  for (int kind = HandKindCount - 1; kind >= 0; --kind) {
    for (int i = 0; i < pos.hand[side][kind]; ++i) std::fprintf(out, "00%s", PieceNames[kind].data());
  }
  std::fprintf(out, "\n");
}

}  // namespace

void PrintBoard(const Position& pos, std::FILE* out) {
  std::fprintf(out, "   9  8  7  6  5  4  3  2  1\n");
  for (int rank = 1; rank <= 9; ++rank) {
    std::fprintf(out, "P%d", rank);
    for (int file = 9; file >= 1; --file) {
      const PieceCode code = pos.board[SquareOf(file, rank)];
      if (code == 0) std::fprintf(out, " * ");
      else std::fprintf(out, "%c%s", code > 0 ? '+' : '-', PieceNames[std::abs(code) - 1].data());
    }
    std::fprintf(out, "\n");
  }
  PrintHandLine(pos, Sente, out);
  PrintHandLine(pos, Gote, out);
}

}  // namespace fv
