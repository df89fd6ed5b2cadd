// A game as a record holds it: the starting position, the side to move there
// and the moves played from it, each one legal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shogi/board.h"
#include "shogi/position.h"
#include "shogi/types.h"

namespace fv {

struct GameRecord {
  Position start{};
  Side startSide = Sente;
  std::vector<Move> moves;
};

// The board after the first `ply` moves of `record`; `ply` at most the number
// of moves.
Board BoardAfter(const GameRecord& record, std::size_t ply);

// Builds a record while a reader reads it: checks the starting position and
// plays each move with the rules, so that every record that comes out holds
// only legal moves from a position whose piece counts a set can supply.
class RecordBuilder {
 public:
  // Starts the game from `start` with `side` to move. Throws NotationError at
  // `line` when a side has more than one king or a kind more pieces than a set
  // holds (board, promoted and hand pieces together).
  void Start(const Position& start, Side side, int line);
  bool Started() const { return started_; }
  const Board& Current() const { return board_; }
  std::size_t MoveCount() const { return record_.moves.size(); }
  // The destination cell of the last move played; 0 before the first.
  int LastDestination() const { return record_.moves.empty() ? 0 : ToCell(record_.moves.back()); }

  // Plays the legal move whose text in CSA digits and piece name after the
  // move ("7776FU", "8822UM", "0055KA" for a drop) is `text`. Returns false,
  // and plays nothing, when no legal move of the side to move has that text.
  bool Play(std::string_view text);

  // Holds a move that is not legal, named by `shown` and a reason such as
  // " (Gote is to move)", instead of refusing the record at once: the record
  // may go on to say that the game ended for it.
  void Hold(std::string_view shown, int line, std::string_view reason = "");
  bool Holding() const { return held_.line > 0; }
  // Forgets the held move: the record ended the game for it.
  void ForgiveHeld() { held_ = {}; }
  // Throws the NotationError that names the held move, if one is held.
  void ThrowIfHeld() const;

  GameRecord Take() { return std::move(record_); }

 private:
  struct HeldMove {
    int line = 0;
    std::size_t number = 0;
    std::string shown;
    std::string reason;
  };

  GameRecord record_;
  Board board_;
  bool started_ = false;
  HeldMove held_;
};

}  // namespace fv
