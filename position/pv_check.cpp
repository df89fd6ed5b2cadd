#include "position/pv_check.h"

#include <array>
#include <cstdlib>

#include "io/input_error.h"
#include "position/printable.h"
#include "shogi/board.h"
#include "shogi/move_rules.h"
#include "shogi/movegen.h"
#include "shogi/piece_rules.h"

namespace fv {

namespace {

int OwnerOf(PieceCode code) { return code > 0 ? Sente : Gote; }

std::string Name(int kind) { return std::string(PieceNames[kind - 1]); }

std::string DropProblem(const PvMove& move, const Position& pos, std::string_view name) {
  if (move.piece < FU || move.piece > HI) return std::string(name) + " cannot be dropped";
  if (pos.hand[move.side][PieceKind(move.piece)] < 1) {
    return "drops " + std::string(name) + ", which " + SideName(move.side) + " does not hold";
  }
  if (pos.board[move.to] != 0) return "drops onto the occupied square " + SquareName(move.to);
  return "";
}

std::string BoardMoveProblem(const PvMove& move, const Position& pos, std::string_view name) {
  const PieceCode piece = pos.board[move.from];
  const std::string side = SideName(move.side);
  if (piece == 0 || OwnerOf(piece) != move.side)
    return "no piece of " + side + " on " + SquareName(move.from);
  if (pos.board[move.to] != 0 && OwnerOf(pos.board[move.to]) == move.side) {
    return "a piece of " + side + " stands on " + SquareName(move.to);
  }
  // A PV ends before a king is taken; a leaf without a king has no evaluation.
  if (std::abs(pos.board[move.to]) == OU) {
    return "takes the king of " + std::string(SideName(Opponent(move.side))) + " on " +
           SquareName(move.to);
  }
  const int kind = std::abs(piece);
  if (move.piece != kind && move.piece != std::abs(Promote(piece))) {
    return "moves " + Name(kind) + " from " + SquareName(move.from) + " but names " +
           std::string(name);
  }
  return "";
}

// The rules core's move for a PV move that passed the checks above.
Move RulesMove(const Board& board, const PvMove& move) {
  if (move.IsDrop()) return MakeDrop(move.side, move.piece, CellOf(move.to));
  const Piece moved = board.At(CellOf(move.from));
  return MakeBoardMove(CellOf(move.from), CellOf(move.to), move.piece != KindOf(moved), moved,
                       board.At(CellOf(move.to)));
}

std::string RuleProblem(const PvMove& move, const Position& pos, BrokenRule rule) {
  const int kind = move.IsDrop() ? move.piece : std::abs(pos.board[move.from]);
  const std::string piece = Name(kind);
  const std::string path = piece + " from " + SquareName(move.from) + " to " + SquareName(move.to);
  switch (rule) {
    case BrokenRule::None:
      return "";
    case BrokenRule::CannotMoveThatWay:
      return piece + " cannot move from " + SquareName(move.from) + " to " + SquareName(move.to);
    case BrokenRule::JumpsOverAPiece:
      return "moves " + path + ", jumping over a piece";
    case BrokenRule::CannotPromote:
      return piece + " cannot promote";
    case BrokenRule::PromotesOutsideZone:
      return "promotes " + path + ", outside the promotion zone";
    case BrokenRule::MissingPromotion:
      return "moves " + piece + " to " + SquareName(move.to) +
             " unpromoted, where it can never move";
    case BrokenRule::DropWhereItCannotMove:
      return "drops " + piece + " on " + SquareName(move.to) + ", where it can never move";
    case BrokenRule::SecondPawnOnFile:
      return "drops FU on file " + std::to_string(FileOf(move.to)) + ", where " +
             SideName(move.side) + " has an unpromoted FU";
    case BrokenRule::PawnDropMate:
      return "drops FU on " + SquareName(move.to) + " to give mate";
    case BrokenRule::LeavesKingInCheck:
      return "leaves the king of " + std::string(SideName(move.side)) + " in check";
  }
  return "";
}

// Why `move` (its six characters `text`) cannot be played on `board`, or "".
std::string MoveProblem(Board& board, const std::optional<PvMove>& move, std::string_view text) {
  if (!move) return "not a move: its digits must be 1 to 9 (00 for a drop)";
  const Position pos = board.ToPosition();
  const std::string_view name = text.substr(4);
  const std::string problem =
      move->IsDrop() ? DropProblem(*move, pos, name) : BoardMoveProblem(*move, pos, name);
  if (!problem.empty()) return problem;
  return RuleProblem(*move, pos, FindBrokenRule(board, RulesMove(board, *move)));
}

}  // namespace

std::string PvMoveProblem(Side side, const Position& pos, std::string_view move) {
  Board board;
  board.Set(pos, side);
  return MoveProblem(board, ParsePvMove(side, move), move);
}

CheckedPv CheckPv(const std::string& logPath, Side side, const Position& start,
                  std::string_view text) {
  CheckedPv pv;
  Board board;
  board.Set(start, side);
  pv.positions.push_back(start);
  for (std::size_t at = 0; at + PvMoveLength <= text.size(); at += PvMoveLength) {
    const std::string_view chars = text.substr(at, PvMoveLength);
    const std::optional<PvMove> move = ParsePvMove(side, chars);
    const std::string problem = MoveProblem(board, move, chars);
    if (!problem.empty()) {
      const std::string number = std::to_string(pv.moves.size() + 1);
      throw InputError(logPath,
                       Printable("move " + number + " (" + std::string(chars) + "): " + problem));
    }
    board.Make(RulesMove(board, *move));
    pv.moves.push_back(*move);
    pv.positions.push_back(board.ToPosition());
    side = Opponent(side);
  }
  pv.leafSideToMove = side;
  std::array<Move, MaxMoves> replies;
  pv.leafHasNoLegalMove = GenerateLegal(board, replies.data()) == 0;
  return pv;
}

}  // namespace fv
