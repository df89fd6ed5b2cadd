#include "shogi/usi_move.h"

#include <array>

#include "shogi/movegen.h"
#include "shogi/notation_error.h"

namespace fv {
namespace {

// Drop letters by kind FU..HI.
constexpr std::string_view DropLetters = "PLNSGBR";

std::string SquareText(int cell) {
  const int sq = SquareOfCell(cell);
  return {char('0' + FileOf(sq)), char('a' + RankOf(sq) - 1)};
}

// The cell of a square written as file digit and rank letter, 0 when the text is not one.
int CellOfText(std::string_view text) {
  if (text.size() != 2 || text[0] < '1' || text[0] > '9' || text[1] < 'a' || text[1] > 'i')
    return 0;
  return CellOf(SquareOf(text[0] - '0', text[1] - 'a' + 1));
}

struct MoveParts {
  int from = 0;  // 0 for a drop
  int to = 0;
  int dropKind = 0;
  bool promote = false;
};

// The parts of a move text; `to` stays 0 when the text is not a move.
MoveParts ReadParts(std::string_view text) {
  MoveParts parts;
  if (text.size() == 4 && text[1] == '*') {
    const auto letter = DropLetters.find(text[0]);
    if (letter == std::string_view::npos) return {};
    parts.dropKind = int(letter) + 1;
    parts.to = CellOfText(text.substr(2));
    return parts;
  }
  if (text.size() != 4 && !(text.size() == 5 && text[4] == '+')) return {};
  parts.from = CellOfText(text.substr(0, 2));
  parts.to = CellOfText(text.substr(2, 2));
  parts.promote = text.size() == 5;
  if (parts.from == 0) return {};
  return parts;
}

bool Matches(Move m, const MoveParts& parts) {
  if (ToCell(m) != parts.to) return false;
  if (parts.dropKind != 0) return IsDrop(m) && DropKind(m) == parts.dropKind;
  return !IsDrop(m) && FromCell(m) == parts.from && IsPromotion(m) == parts.promote;
}

}  // namespace

std::string UsiMoveText(Move m) {
  if (IsDrop(m)) return std::string{DropLetters[DropKind(m) - 1], '*'} + SquareText(ToCell(m));
  return SquareText(FromCell(m)) + SquareText(ToCell(m)) + (IsPromotion(m) ? "+" : "");
}

Move ParseUsiMove(Board& board, std::string_view text) {
  const MoveParts parts = ReadParts(text);
  if (parts.to == 0) throw NotationError("USI move: '" + std::string(text) + "' is not a move");
  std::array<Move, MaxMoves> moves;
  const int count = GenerateLegal(board, moves.data());
  for (int i = 0; i < count; ++i)
    if (Matches(moves[i], parts)) return moves[i];
  throw NotationError("USI move: " + std::string(text) + " is not legal in the position");
}

}  // namespace fv
