#include "engine/position_record.h"

#include <array>

#include "io/input_error.h"
#include "position/csa_record.h"
#include "position/position_check.h"
#include "shogi/board.h"
#include "shogi/csa_board.h"

namespace fv::engine {

PositionRecord ReadPositionRecord(const std::string& path) {
  const CsaRecord record = ReadCsaFile(path);
  if (!record.passedOver.empty()) throw InputError(path, "cannot use " + record.passedOver.front());
  if (!record.sideToMove)
    throw InputError(path,
                     "expected the side to move, a line \"+\" or \"-\", after the hand lines");
  const PositionRecord playable{record.position, *record.sideToMove};
  CheckPlayable(playable, path);
  return playable;
}

void CheckPlayable(const PositionRecord& record, const std::string& name) {
  const Position& pos = record.position;
  const std::string problem = PositionProblem(pos);
  if (!problem.empty()) throw InputError(name, problem);
  std::array<std::array<bool, 9>, 2> pawnOnFile{};
  for (int sq = 0; sq < SquareCount; ++sq) {
    if (pos.board[sq] != FU && pos.board[sq] != -FU) continue;
    bool& seen = pawnOnFile[pos.board[sq] > 0 ? Sente : Gote][FileOf(sq) - 1];
    if (seen)
      throw InputError(name,
                       "two unpromoted pawns of a side on file " + std::to_string(FileOf(sq)));
    seen = true;
  }
  Board board;
  board.Set(pos, record.sideToMove);
  if (board.IsAttacked(board.KingCell(Opponent(record.sideToMove)), record.sideToMove))
    throw InputError(name, "the side not to move is in check");
}

std::string FormatPositionRecord(const PositionRecord& record) {
  return "V2.2\nN+fvengine\nN-fvengine\n" + CsaBoardLines(record.position) +
         (record.sideToMove == Sente ? "+\n" : "-\n");
}

}  // namespace fv::engine
