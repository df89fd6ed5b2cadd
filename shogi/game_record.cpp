#include "shogi/game_record.h"

#include <array>

#include "shogi/move_text.h"
#include "shogi/movegen.h"
#include "shogi/notation_error.h"
#include "shogi/piece_rules.h"

namespace fv {

Board BoardAfter(const GameRecord& record, std::size_t ply) {
  Board board;
  board.Set(record.start, record.startSide);
  for (std::size_t i = 0; i < ply && i < record.moves.size(); ++i) board.Make(record.moves[i]);
  return board;
}

void RecordBuilder::Start(const Position& start, Side side, int line) {
  const PieceTally tally = TallyPieces(start);
  for (const PieceKind kind : HandKinds) {
    for (const Side s : {Sente, Gote})
      if (start.hand[s][kind] < 0) throw NotationError(line, "a negative number of pieces in hand");
    if (tally.kinds[kind] > SetPieceCounts[kind])
      throw NotationError(line, std::to_string(tally.kinds[kind]) + " pieces of kind " +
                                    std::string(PieceNames[kind - 1]) + ", a set has " +
                                    std::to_string(SetPieceCounts[kind]));
  }
  for (const Side s : {Sente, Gote})
    if (tally.kings[s] > 1)
      throw NotationError(
          line, std::to_string(tally.kings[s]) + " kings of " + SideName(s) + ", a set has one");
  record_ = GameRecord{start, side, {}};
  board_.Set(start, side);
  started_ = true;
}

bool RecordBuilder::Play(std::string_view text) {
  std::array<Move, MaxMoves> moves;
  const int count = GenerateLegal(board_, moves.data());
  for (int i = 0; i < count; ++i) {
    if (MoveText(moves[i]) != text) continue;
    board_.Make(moves[i]);
    record_.moves.push_back(moves[i]);
    return true;
  }
  return false;
}

void RecordBuilder::Hold(std::string_view shown, int line, std::string_view reason) {
  held_ = HeldMove{line, record_.moves.size() + 1, std::string(shown), std::string(reason)};
}

void RecordBuilder::ThrowIfHeld() const {
  if (Holding())
    throw NotationError(held_.line, "move " + std::to_string(held_.number) + " (" + held_.shown +
                                        ") is not legal" + held_.reason);
}

}  // namespace fv
