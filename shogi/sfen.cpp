#include "shogi/sfen.h"

#include <array>
#include <cctype>
#include <charconv>
#include <vector>

#include "shogi/notation_error.h"
#include "shogi/piece_rules.h"
#include "shogi/types.h"

namespace fv {
namespace {

// Letters of the unpromoted kinds FU..OU; Sente's in upper case.
constexpr std::string_view PieceLetters = "PLNSGBRK";

[[noreturn]] void Refuse(const std::string& reason) { throw NotationError("SFEN: " + reason); }

// The kind FU..OU a letter of either case names, 0 for none.
int KindOfLetter(char c) {
  const auto at = PieceLetters.find(char(std::toupper(static_cast<unsigned char>(c))));
  return at == std::string_view::npos ? 0 : int(at) + 1;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(" \t\r\n", at)) != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
    fields.push_back(text.substr(at, end - at));
    at = end;
  }
  return fields;
}

void ReadBoard(std::string_view field, Position& pos) {
  int rank = 1, column = 0;
  auto endRank = [&] {
    if (column != 9)
      Refuse("rank " + std::to_string(rank) + " has " + std::to_string(column) + " squares, not 9");
  };
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '/') {
      endRank();
      if (++rank > 9) Refuse("more than nine ranks");
      column = 0;
    } else if (c >= '1' && c <= '9') {
      column += c - '0';
      if (column > 9) endRank();
    } else {
      const bool promoted = c == '+';
      if (promoted && ++i == field.size()) Refuse("'+' without a piece at the end of the board");
      c = field[i];
      const int kind = KindOfLetter(c);
      if (kind == 0) Refuse(std::string("unknown piece letter '") + c + "' in the board");
      if (promoted && !CanPromote(kind)) Refuse(std::string("'+") + c + "' does not promote");
      if (++column > 9) endRank();
      const PieceCode code = PieceCode(promoted ? PromotedKind(kind) : kind);
      pos.board[(rank - 1) * 9 + column - 1] =
          std::isupper(static_cast<unsigned char>(c)) ? code : PieceCode(-code);
    }
  }
  endRank();
  if (rank != 9) Refuse("the board has " + std::to_string(rank) + " ranks, not 9");
}

void ReadHands(std::string_view field, Position& pos) {
  if (field == "-") return;
  std::array<std::array<bool, HI + 1>, 2> named{};  // by kind FU..HI
  for (std::size_t i = 0; i < field.size(); ++i) {
    int count = 0;
    const std::size_t digits = i;
    while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])) && i - digits < 2)
      count = count * 10 + field[i++] - '0';
    if (i == field.size()) Refuse("hand count without a piece");
    if (i == digits) count = 1;
    const char c = field[i];
    const int kind = KindOfLetter(c);
    if (kind == 0 || kind == OU) Refuse(std::string("no piece '") + c + "' can be in hand");
    if (count < 1) Refuse(std::string("a count of 0 for '") + c + "' in hand");
    const Side side = std::isupper(static_cast<unsigned char>(c)) ? Sente : Gote;
    bool& seen = named[side][kind];
    if (seen) Refuse(std::string("'") + c + "' named twice in the hands");
    seen = true;
    pos.hand[side][PieceKind(kind)] = std::int8_t(count);
  }
}

Side ReadSide(std::string_view field) {
  if (field == "b") return Sente;
  if (field == "w") return Gote;
  Refuse("side to move '" + std::string(field) + "' is neither 'b' nor 'w'");
}

int ReadMoveNumber(std::string_view field) {
  int number = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  if (error != std::errc() || end != field.data() + field.size() || number < 1)
    Refuse("move number '" + std::string(field) + "' is not a whole number from 1");
  return number;
}

// Exactly one king a side, no more of a kind than a set holds.
void CheckPieceCounts(Position& pos) {
  const PieceTally tally = TallyPieces(pos);
  for (const PieceKind kind : HandKinds)
    if (tally.kinds[kind] > SetPieceCounts[kind])
      Refuse(std::to_string(tally.kinds[kind]) + " pieces '" + PieceLetters[kind - 1] +
             "', a set has " + std::to_string(SetPieceCounts[kind]));
  for (const Side side : {Sente, Gote}) {
    if (tally.kings[side] != 1)
      Refuse(std::string(SideName(side)) + " has " + std::to_string(tally.kings[side]) +
             " kings, not 1");
    pos.kingSquare[side] = std::uint8_t(tally.kingSquare[side]);
  }
}

}  // namespace

SfenPosition ParseSfen(std::string_view text) {
  const std::vector<std::string_view> fields = Fields(text);
  if (fields.size() < 3 || fields.size() > 4)
    Refuse("expected board, side to move, hands and move number, not " +
           std::to_string(fields.size()) + " fields");
  SfenPosition sfen;
  ReadBoard(fields[0], sfen.position);
  sfen.sideToMove = ReadSide(fields[1]);
  ReadHands(fields[2], sfen.position);
  if (fields.size() == 4) sfen.moveNumber = ReadMoveNumber(fields[3]);
  CheckPieceCounts(sfen.position);
  return sfen;
}

std::string FormatSfen(const Position& position, Side sideToMove, int moveNumber) {
  std::string out;
  for (int rank = 0; rank < 9; ++rank) {
    if (rank > 0) out += '/';
    int empty = 0;
    for (int column = 0; column < 9; ++column) {
      const PieceCode code = position.board[rank * 9 + column];
      if (code == 0) {
        ++empty;
        continue;
      }
      if (empty > 0) out += char('0' + empty);
      empty = 0;
      const int magnitude = code < 0 ? -code : code;
      if (magnitude > OU) out += '+';
      const char letter = PieceLetters[UnpromotedKind(magnitude) - 1];
      out += code > 0 ? letter : char(std::tolower(letter));
    }
    if (empty > 0) out += char('0' + empty);
  }
  out += sideToMove == Sente ? " b " : " w ";
  const std::size_t handStart = out.size();
  for (const Side side : {Sente, Gote})
    for (const PieceKind kind : HandKindsHighestFirst) {
      const int count = position.hand[side][kind];
      if (count == 0) continue;
      if (count > 1) out += std::to_string(count);
      const char letter = PieceLetters[kind - 1];
      out += side == Sente ? letter : char(std::tolower(letter));
    }
  if (out.size() == handStart) out += '-';
  return out + ' ' + std::to_string(moveNumber);
}

}  // namespace fv
