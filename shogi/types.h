// Board geometry of the rules core, piece codes and move encoding.
// The 9 x 9 board sits inside an 11-wide, 13-high frame of wall cells so that
// steps and knight jumps off the board land on a wall and need no bounds test.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/position.h"

namespace fv {

constexpr int FrameWidth = 11;
constexpr int CellCount = FrameWidth * 13;
constexpr int MaxMoves = 600;  // legal moves of a shogi position stay below 600
constexpr int MaxPly = 128;

// Cell of a square index (rank by rank from file 9 rank 1) and back.
constexpr int CellOf(int square) { return (square / 9 + 2) * FrameWidth + square % 9 + 1; }
constexpr int SquareOfCell(int cell) { return (cell / FrameWidth - 2) * 9 + cell % FrameWidth - 1; }
constexpr int RankOfCell(int cell) { return cell / FrameWidth - 1; }    // 1..9
constexpr int ColumnOfCell(int cell) { return cell % FrameWidth - 1; }  // 0 (file 9) .. 8 (file 1)

// A piece: kind 1..14 (the PieceKind numbering) plus 16 for Gote.
using Piece = std::uint8_t;
constexpr Piece NoPiece = 0;
constexpr Piece Wall = 64;
constexpr Piece GoteFlag = 16;

constexpr Piece MakePiece(Side side, int kind) { return Piece(kind | (side << 4)); }
constexpr int KindOf(Piece p) { return p & 15; }
constexpr Side SideOf(Piece p) { return Side((p >> 4) & 1); }
// True for a piece of `side`; false for empty cells and walls.
constexpr bool IsSide(Piece p, Side side) {
  return p != NoPiece && (p & (Wall | GoteFlag)) == (side << 4);
}
constexpr PieceCode ToCode(Piece p) {
  return PieceCode(p == NoPiece ? 0 : SideOf(p) ? -KindOf(p) : KindOf(p));
}
constexpr Piece FromCode(PieceCode c) {
  return c == 0 ? NoPiece : c > 0 ? MakePiece(Sente, c) : MakePiece(Gote, -c);
}

constexpr bool CanPromote(int kind) {
  return kind == FU || kind == KY || kind == KE || kind == GI || kind == KA || kind == HI;
}
constexpr int PromotedKind(int kind) { return Promote(PieceCode(kind)); }
// The kind a piece of `kind` (0..14) shows unpromoted: itself for FU..OU, FU..HI for TO..RY.
constexpr std::array<std::int8_t, 15> UnpromotedKindTable = {Empty, FU, KY, KE, GI, KI, KA, HI,
                                                             OU,    FU, KY, KE, GI, KA, HI};
constexpr PieceKind UnpromotedKind(int kind) { return PieceKind(UnpromotedKindTable[kind]); }

// True when `cell` lies in the promotion zone of `side` (its three farthest ranks).
constexpr bool InPromotionZone(Side side, int cell) {
  const int rank = RankOfCell(cell);
  return side == Sente ? rank <= 3 : rank >= 7;
}
// Ranks counted from the side's own far edge: 1 is the farthest rank.
constexpr int RelativeRank(Side side, int cell) {
  return side == Sente ? RankOfCell(cell) : 10 - RankOfCell(cell);
}

// Eight directions as cell offsets, Sente's forward (towards rank 1) first.
enum Direction : int { North, South, West, East, NorthWest, NorthEast, SouthWest, SouthEast };
constexpr std::array<int, 8> DirectionOffset = {-11, 11, -1, 1, -12, -10, 10, 12};
constexpr std::array<int, 8> OppositeDirection = {South,     North,     East,      West,
                                                  SouthEast, SouthWest, NorthEast, NorthWest};
constexpr int KnightOffsetLeft(Side side) { return side == Sente ? -23 : 21; }
constexpr int KnightOffsetRight(Side side) { return side == Sente ? -21 : 23; }

// Step and slide directions of Sente's pieces by kind, one bit per Direction.
constexpr int Bit(int d) { return 1 << d; }
constexpr int Orthogonal = Bit(North) | Bit(South) | Bit(West) | Bit(East);
constexpr int Diagonal = Bit(NorthWest) | Bit(NorthEast) | Bit(SouthWest) | Bit(SouthEast);
constexpr int GoldSteps = Orthogonal | Bit(NorthWest) | Bit(NorthEast);
constexpr std::array<int, 15> SenteStepTable = {0,
                                                Bit(North),
                                                0,
                                                0,
                                                Bit(North) | Diagonal,
                                                GoldSteps,
                                                0,
                                                0,
                                                Orthogonal | Diagonal,
                                                GoldSteps,
                                                GoldSteps,
                                                GoldSteps,
                                                GoldSteps,
                                                Orthogonal,
                                                Diagonal};
constexpr std::array<int, 15> SenteSlideTable = {
    0, 0, Bit(North), 0, 0, 0, Diagonal, Orthogonal, 0, 0, 0, 0, 0, Diagonal, Orthogonal};

constexpr int Mirror(int mask) {
  int out = 0;
  for (int d = 0; d < 8; ++d)
    if (mask & Bit(d)) out |= Bit(OppositeDirection[d]);
  return out;
}
// Direction masks by Piece (kind | side flag); Gote's are Sente's turned round.
constexpr std::array<int, 32> MakeMaskTable(const std::array<int, 15>& sente) {
  std::array<int, 32> t{};
  for (int kind = 1; kind <= 14; ++kind) {
    t[kind] = sente[kind];
    t[kind | GoteFlag] = Mirror(sente[kind]);
  }
  return t;
}
constexpr std::array<int, 32> StepMask = MakeMaskTable(SenteStepTable);
constexpr std::array<int, 32> SlideMask = MakeMaskTable(SenteSlideTable);

// A move in 32 bits: destination cell, origin cell (0 for a drop), the dropped
// kind, the promotion flag, the moving piece and the captured piece.
using Move = std::uint32_t;
constexpr Move NoMove = 0;

constexpr Move MakeBoardMove(int from, int to, bool promote, Piece moved, Piece captured) {
  return Move(to) | Move(from) << 8 | Move(promote) << 20 | Move(moved) << 21 |
         Move(captured) << 26;
}
constexpr Move MakeDrop(Side side, int kind, int to) {
  return Move(to) | Move(kind) << 16 | Move(MakePiece(side, kind)) << 21;
}
constexpr int ToCell(Move m) { return m & 0xff; }
constexpr int FromCell(Move m) { return (m >> 8) & 0xff; }
constexpr int DropKind(Move m) { return (m >> 16) & 0xf; }
constexpr bool IsDrop(Move m) { return DropKind(m) != 0; }
constexpr bool IsPromotion(Move m) { return (m >> 20) & 1; }
constexpr Piece MovedPiece(Move m) { return Piece((m >> 21) & 0x1f); }
constexpr Piece CapturedPiece(Move m) { return Piece((m >> 26) & 0x1f); }

static_assert(CellOf(0) == 23 && CellOf(80) == 119 && SquareOfCell(CellOf(47)) == 47);
static_assert(IsSide(MakePiece(Gote, HI), Gote) && !IsSide(Wall, Sente) && !IsSide(NoPiece, Sente));

}  // namespace fv
