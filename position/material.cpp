#include "position/material.h"

namespace fv {

std::int32_t CountMaterial(const Position& pos) {
  std::int32_t sum = 0;
  for (const PieceCode code : pos.board) sum += PieceValue(code);
  for (int kind = 0; kind < HandKindCount; ++kind) {
    sum += (pos.hand[Sente][kind] - pos.hand[Gote][kind]) * PieceValue(PieceCode(kind + 1));
  }
  return sum;
}

}  // namespace fv
