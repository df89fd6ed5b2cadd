#include "position/pv_moves.h"

namespace fv {

namespace {

bool IsDigit1To9(char c) { return c >= '1' && c <= '9'; }

int SquareOfDigits(char file, char rank) { return SquareOf(file - '0', rank - '0'); }

std::string SquareDigits(int square) {
  return std::to_string(FileOf(square)) + std::to_string(RankOf(square));
}

}  // namespace

std::string PvMove::Text() const {
  return (IsDrop() ? "00" : SquareDigits(from)) + SquareDigits(to) +
         std::string(PieceNames[piece - 1]);
}

std::string PvMove::Line() const {
  std::string line(1, side == Sente ? '+' : '-');
  return line += Text();
}

std::optional<PvMove> ParsePvMove(Side side, std::string_view text) {
  if (text.size() != PvMoveLength) return std::nullopt;
  const bool drop = text[0] == '0' && text[1] == '0';
  if (!(drop || (IsDigit1To9(text[0]) && IsDigit1To9(text[1]))) || !IsDigit1To9(text[2]) ||
      !IsDigit1To9(text[3]))
    return std::nullopt;
  PvMove move{side, drop ? PvMove::DropOrigin : SquareOfDigits(text[0], text[1]),
              SquareOfDigits(text[2], text[3])};
  for (int kind = FU; kind <= RY; ++kind)
    if (text.substr(4) == PieceNames[kind - 1]) move.piece = kind;
  return move;
}

bool HasMoveForm(std::string_view text) {
  const std::optional<PvMove> move = ParsePvMove(Sente, text);
  return move && move->piece != Empty;
}

}  // namespace fv
