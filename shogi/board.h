// The rules board: pieces on a framed mailbox, hands, kings, side to move
// and a Zobrist key, with make/unmake and attack tests.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/position.h"
#include "shogi/types.h"

namespace fv {

class Board {
 public:
  // Sets up the position of `pos` with `sideToMove` to move. The position is
  // taken as it stands; callers check legality of outside input first.
  void Set(const Position& pos, Side sideToMove);
  Position ToPosition() const;

  Piece At(int cell) const { return cells_[cell]; }
  const std::array<Piece, CellCount>& Cells() const { return cells_; }
  // The cells holding pieces of `side`, one bit per cell (cell c is bit c % 64 of word c / 64).
  using CellSet = std::array<std::uint64_t, (CellCount + 63) / 64>;
  const CellSet& PieceCells(Side side) const { return pieceCells_[side]; }
  int Hand(Side side, int kind) const { return hand_[side][kind]; }  // kind FU..HI (1..7)
  int KingCell(Side side) const { return king_[side]; }              // 0 when the side has no king
  Side SideToMove() const { return side_; }
  std::uint64_t Key() const { return key_; }
  // True when `side` has an unpromoted pawn on the column of `cell`.
  bool HasPawnOnColumn(Side side, int cell) const {
    return pawnColumns_[side] >> ColumnOfCell(cell) & 1;
  }

  void Make(Move m);
  void Unmake(Move m);
  void MakeNull();
  void UnmakeNull();

  // True when a piece of `by` attacks `cell`.
  bool IsAttacked(int cell, Side by) const;
  bool InCheck() const { return king_[side_] != 0 && IsAttacked(king_[side_], Opponent(side_)); }
  // True when the side that just moved left its own king attacked.
  // True when the king of the side to move would be safe on `to` after
  // leaving its cell.
  bool KingMoveSafe(int to);
  bool MoverKingAttacked() const {
    return king_[Opponent(side_)] != 0 && IsAttacked(king_[Opponent(side_)], side_);
  }
  // How many plies ago the current position last occurred (same pieces, hands
  // and side to move) since Set; 0 when it did not.
  int RepetitionDistance() const;

 private:
  void Put(int cell, Piece p);
  void Remove(int cell);
  void AddHand(Side side, int kind, int delta);

  std::array<Piece, CellCount> cells_{};
  std::array<std::array<int, 8>, 2> hand_{};
  std::array<int, 2> king_{};
  std::array<std::uint16_t, 2> pawnColumns_{};
  std::array<CellSet, 2> pieceCells_{};
  Side side_ = Sente;
  std::uint64_t key_ = 0;
  int ply_ = 0;
  std::array<std::uint64_t, 1024> history_{};  // keys of the positions since Set
};

}  // namespace fv
