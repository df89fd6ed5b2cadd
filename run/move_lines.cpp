#include "run/move_lines.h"

namespace fv {

std::string MoveLines(const std::vector<PvMove>& moves) {
  std::string lines;
  for (const PvMove& move : moves) (lines += move.Line()) += '\n';
  return lines;
}

}  // namespace fv
