// The board record shared by every stage: pieces on the 81 squares, the pieces
// in hand of both sides and where the two kings stand.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace fv {

// Signed piece code: 0 empty, 1..14 Sente's FU..RY, the negated code Gote's.
using PieceCode = std::int8_t;

enum PieceKind : int { Empty = 0, FU, KY, KE, GI, KI, KA, HI, OU, TO, NY, NK, NG, UM, RY };

// Side number: 0 Sente (CSA sign '+'), 1 Gote (CSA sign '-').
enum Side : int { Sente = 0, Gote = 1 };
constexpr Side Opponent(Side side) { return Side(side ^ 1); }

constexpr int SquareCount = 81;
constexpr int HandKindCount = 7;  // FU, KY, KE, GI, KI, KA, HI
constexpr int PieceKindCount = 14;
constexpr int SenteHandLocation = 81;  // 81 + hand kind
constexpr int GoteHandLocation = 88;   // 88 + hand kind
constexpr int LocationCount = 95;

struct Position {
  std::array<PieceCode, SquareCount> board{};
  std::array<std::array<std::int8_t, HandKindCount>, 2> hand{};
  std::array<std::uint8_t, 2> kingSquare{};
};

// CSA names in code order: PieceNames[code magnitude - 1].
constexpr std::array<std::string_view, PieceKindCount> PieceNames = {
    "FU", "KY", "KE", "GI", "KI", "KA", "HI", "OU", "TO", "NY", "NK", "NG", "UM", "RY"};

// Promoted code of the same side, indexed by code + 14 (codes -14..14).
constexpr std::array<PieceCode, 29> PromotionTable = {
    -14, -13, -12, -11, -10, -9,  -8,   // RY UM NG NK NY TO OU: themselves
    -14, -13, -5,  -12, -11, -10, -9,   // HI KA KI GI KE KY FU
    0,                                  // empty
    9,   10,  11,  12,  5,   13,  14,   // FU KY KE GI KI KA HI
    8,   9,   10,  11,  12,  13,  14};  // OU TO NY NK NG UM RY: themselves

// Hand kind a captured piece joins, by code magnitude 0..14 (-1: none).
constexpr std::array<std::int8_t, 15> HandKindTable = {-1, 0, 1, 2, 3, 4, 5, 6,
                                                       -1, 0, 1, 2, 3, 5, 6};

constexpr PieceCode Promote(PieceCode code) { return PromotionTable[code + 14]; }

// Square index: (rank - 1) * 9 + (9 - file); file 9 rank 1 is 0, file 1 rank 9 is 80.
constexpr int SquareOf(int file, int rank) { return (rank - 1) * 9 + (9 - file); }
constexpr int FileOf(int square) { return 9 - square % 9; }
constexpr int RankOf(int square) { return square / 9 + 1; }

// The cell at a location 0..94: a piece code for a square, a hand count for a
// hand slot (81 + kind Sente's, 88 + kind Gote's).
constexpr int CellAt(const Position& pos, int location) {
  if (location < SquareCount) return pos.board[location];
  if (location < GoteHandLocation) return pos.hand[Sente][location - SenteHandLocation];
  return pos.hand[Gote][location - GoteHandLocation];
}

}  // namespace fv
