#include "position/pv_moves.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "position/move.h"
#include "shogi/position.h"

namespace fv {

namespace {

constexpr std::array<std::string_view, 8> DropNames = {"FU", "KY", "KE", "GI", "KI", "KA", "HI", "OU"};
constexpr std::array<std::string_view, 6> PromotedNames = {"TO", "NY", "NK", "NG", "UM", "RY"};

template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return int(i);
  }
  return -1;
}

std::int32_t EncodePvMove(std::string_view move) {
  const int a = move[0] - '1', b = move[1] - '1', c = move[2] - '1', d = move[3] - '1';
  const std::string_view name = move.substr(4, 2);
  const int from = a == -1 && b == -1 ? DropOrigin + IndexOf(DropNames, name) : b * 9 + (8 - a);
  return EncodeMove(d * 9 + (8 - c), from, IndexOf(PromotedNames, name) >= 0);
}

bool IsDigit1To9(char c) { return c >= '1' && c <= '9'; }

}  // namespace

bool HasMoveForm(std::string_view move) {
  if (move.size() != PvMoveLength) return false;
  const bool origin =
      (move[0] == '0' && move[1] == '0') || (IsDigit1To9(move[0]) && IsDigit1To9(move[1]));
  const std::string_view name = move.substr(4, 2);
  const bool named = std::find(PieceNames.begin(), PieceNames.end(), name) != PieceNames.end();
  return origin && IsDigit1To9(move[2]) && IsDigit1To9(move[3]) && named;
}

void ParsePv(const std::string& text, PvMoveList& list) {
  const std::size_t count = text.size() / PvMoveLength;
  list.moves.clear();
  list.moves.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    list.moves.push_back(EncodePvMove(std::string_view(text).substr(i * PvMoveLength, PvMoveLength)));
  }
}

}  // namespace fv
