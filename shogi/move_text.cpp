#include "shogi/move_text.h"

namespace fv {
namespace {

std::string CellText(int cell) {
  const int sq = SquareOfCell(cell);
  return std::to_string(FileOf(sq)) + std::to_string(RankOf(sq));
}

}  // namespace

std::string MoveText(Move m) {
  if (IsDrop(m)) return "00" + CellText(ToCell(m)) + std::string(PieceNames[DropKind(m) - 1]);
  const int kind = KindOf(MovedPiece(m));
  const int after = IsPromotion(m) ? PromotedKind(kind) : kind;
  return CellText(FromCell(m)) + CellText(ToCell(m)) + std::string(PieceNames[after - 1]);
}

std::string SignedMoveText(Move m) {
  std::string text(1, SideOf(MovedPiece(m)) == Sente ? '+' : '-');
  text += MoveText(m);
  return text;
}

}  // namespace fv
