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
constexpr int PieceKindCount = 14;

// The kinds a hand holds, in code order.
constexpr std::array<PieceKind, 7> HandKinds = {FU, KY, KE, GI, KI, KA, HI};
constexpr int HandKindCount = int(HandKinds.size());
// The same kinds from HI down to FU: the order records write hands in.
constexpr std::array<PieceKind, HandKindCount> HandKindsHighestFirst = {HI, KA, KI, GI, KE, KY, FU};

// Slot 0..6 of a hand kind FU..HI: its place in the hand locations and in
// every per-hand-kind table of the weight layout.
constexpr int HandSlot(PieceKind kind) { return kind - FU; }

constexpr int SenteHandLocation = 81;  // 81 + hand slot
constexpr int GoteHandLocation = 88;   // 88 + hand slot
constexpr int LocationCount = 95;

// The pieces one side holds, counted by kind FU..HI.
class Hand {
 public:
  constexpr std::int8_t& operator[](PieceKind kind) { return count_[kind]; }
  constexpr std::int8_t operator[](PieceKind kind) const { return count_[kind]; }
  constexpr bool operator==(const Hand&) const = default;

 private:
  std::array<std::int8_t, HI + 1> count_{};
};

struct Position {
  std::array<PieceCode, SquareCount> board{};
  std::array<Hand, 2> hand{};
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

constexpr PieceCode Promote(PieceCode code) { return PromotionTable[code + 14]; }

// Square index: (rank - 1) * 9 + (9 - file); file 9 rank 1 is 0, file 1 rank 9 is 80.
constexpr int SquareOf(int file, int rank) { return (rank - 1) * 9 + (9 - file); }
constexpr int FileOf(int square) { return 9 - square % 9; }
constexpr int RankOf(int square) { return square / 9 + 1; }

// The cell at a location 0..94: a piece code for a square, a hand count for a
// hand slot (81 + slot Sente's, 88 + slot Gote's).
constexpr int CellAt(const Position& pos, int location) {
  if (location < SquareCount) return pos.board[location];
  if (location < GoteHandLocation) return pos.hand[Sente][HandKinds[location - SenteHandLocation]];
  return pos.hand[Gote][HandKinds[location - GoteHandLocation]];
}

}  // namespace fv
