#include "position/pv_check.h"

#include <cstdlib>

#include "position/input_error.h"
#include "position/position_check.h"
#include "position/printable.h"
#include "position/replay.h"

namespace fv {

namespace {

bool IsDigit1To9(char c) { return c >= '1' && c <= '9'; }

int SquareOfDigits(char file, char rank) { return SquareOf(file - '0', rank - '0'); }

// Hand kind of a droppable name, or -1.
int HandKindOfName(std::string_view name) {
  for (int kind = 0; kind < HandKindCount; ++kind) {
    if (name == PieceNames[kind]) return kind;
  }
  return -1;
}

int OwnerOf(PieceCode code) { return code > 0 ? Sente : Gote; }

std::string DropProblem(int side, const Position& pos, std::string_view move) {
  const std::string_view name = move.substr(4, 2);
  const int kind = HandKindOfName(name);
  if (kind < 0) return std::string(name) + " cannot be dropped";
  if (pos.hand[side][kind] < 1) return "drops " + std::string(name) + ", which " + SideName(side) + " does not hold";
  const int to = SquareOfDigits(move[2], move[3]);
  if (pos.board[to] != 0) return "drops onto the occupied square " + SquareName(to);
  if (CanNeverMove(PieceCode(side == Sente ? kind + 1 : -(kind + 1)), to)) {
    return "drops " + std::string(name) + " on " + SquareName(to) + ", where it can never move";
  }
  return "";
}

std::string BoardMoveProblem(int side, const Position& pos, std::string_view move) {
  const int from = SquareOfDigits(move[0], move[1]);
  const int to = SquareOfDigits(move[2], move[3]);
  const PieceCode piece = pos.board[from];
  if (piece == 0 || OwnerOf(piece) != side) return "no piece of " + std::string(SideName(side)) + " on " + SquareName(from);
  if (pos.board[to] != 0 && OwnerOf(pos.board[to]) == side) {
    return "a piece of " + std::string(SideName(side)) + " stands on " + SquareName(to);
  }
  // A PV ends before a king is taken; a leaf without a king has no evaluation.
  if (std::abs(pos.board[to]) == OU) return "takes the king of " + std::string(SideName(1 - side)) + " on " + SquareName(to);
  const std::string_view name = move.substr(4, 2);
  const std::string_view plain = PieceNames[std::abs(piece) - 1];
  const std::string_view promoted = PieceNames[std::abs(Promote(piece)) - 1];
  if (name != plain && name != promoted) {
    return "moves " + std::string(plain) + " from " + SquareName(from) + " but names " + std::string(name);
  }
  if (name == plain && CanNeverMove(piece, to)) {
    return "moves " + std::string(plain) + " to " + SquareName(to) + " unpromoted, where it can never move";
  }
  return "";
}

}  // namespace

std::string PvMoveProblem(int side, const Position& pos, std::string_view move) {
  const bool drop = move.size() == PvMoveLength && move[0] == '0' && move[1] == '0';
  const bool digitsValid = move.size() == PvMoveLength && (drop || (IsDigit1To9(move[0]) && IsDigit1To9(move[1]))) &&
                           IsDigit1To9(move[2]) && IsDigit1To9(move[3]);
  if (!digitsValid) return "not a move: its digits must be 1 to 9 (00 for a drop)";
  return drop ? DropProblem(side, pos, move) : BoardMoveProblem(side, pos, move);
}

void ValidatePv(const std::string& logPath, int side, const Position& start, const std::string& text,
                const PvMoveList& list) {
  Position pos = start;
  for (int i = 0; i < list.count(); ++i) {
    const std::string_view move = std::string_view(text).substr(i * PvMoveLength, PvMoveLength);
    const std::string problem = PvMoveProblem(side, pos, move);
    if (!problem.empty()) {
      throw InputError(logPath, Printable("move " + std::to_string(i + 1) + " (" + std::string(move) + "): " + problem));
    }
    ApplyMove(side, pos, list.moves[i]);
    side = 1 - side;
  }
}

}  // namespace fv
