#include "run/move_lines.h"

#include "position/pv_moves.h"
#include "shogi/position.h"

namespace fv {

std::string MoveLines(int side, const std::string& text, int count) {
  std::string lines;
  for (int i = 0; i < count; ++i, side = 1 - side) {
    lines += side == Sente ? '+' : '-';
    (lines += text.substr(std::size_t(i) * PvMoveLength, PvMoveLength)) += '\n';
  }
  return lines;
}

}  // namespace fv
