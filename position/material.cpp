#include "position/material.h"

namespace fv {

std::int32_t CountMaterial(const Position& pos) {
  std::int32_t sum = 0;
  for (const PieceCode code : pos.board) sum += PieceValue(code);
  for (const PieceKind kind : HandKinds) {
    sum += (pos.hand[Sente][kind] - pos.hand[Gote][kind]) * PieceValue(PieceCode(kind));
  }
  return sum;
}

}  // namespace fv
