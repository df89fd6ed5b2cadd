#include "shogi/csa_notation.h"

#include <algorithm>
#include <optional>

#include "shogi/csa_board.h"
#include "shogi/move_text.h"
#include "shogi/notation_error.h"
#include "shogi/piece_rules.h"
#include "shogi/record_text.h"
#include "shogi/start_position.h"

namespace fv {
namespace {

constexpr std::string_view NotCsa = "not a CSA record: ";
constexpr std::size_t BoardLineLength = 2 + 9 * 3;

// Piece kind 1..14 of a CSA name, 0 for no name.
int KindOfName(std::string_view name) {
  for (int kind = FU; kind <= RY; ++kind)
    if (PieceNames[kind - 1] == name) return kind;
  return 0;
}

// Square index of two CSA digits, file then rank; -1 for "00" or no square.
int SquareOfDigits(std::string_view digits) {
  if (digits.size() != 2 || digits[0] < '1' || digits[0] > '9' || digits[1] < '1' ||
      digits[1] > '9')
    return -1;
  return SquareOf(digits[0] - '0', digits[1] - '0');
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

NotationError NotCsaRecord(int line, const std::string& problem) {
  return NotationError(line, std::string(NotCsa) + problem);
}

class CsaReader {
 public:
  GameRecord Read(std::string_view text);

 private:
  enum class Phase { Setup, Moves, Ended };

  void Line(std::string_view line);
  void Statement(std::string_view statement);
  void Setup(std::string_view statement);
  void StandardStart(std::string_view removed);
  void BoardLine(int rank, std::string_view cells);
  void PieceLine(Side side, std::string_view pieces);
  void FinishSetup(Side side);
  void MoveStatement(std::string_view move);
  void Special(std::string_view special);

  int line_ = 0;
  Phase phase_ = Phase::Setup;
  Position setup_{};
  bool placed_ = false;
  std::optional<Side> remainingToHand_;
  RecordBuilder game_;
};

GameRecord CsaReader::Read(std::string_view text) {
  for (const std::string_view line : SplitLines(text)) {
    ++line_;
    Line(TrimEnd(line));
    if (phase_ == Phase::Ended) break;
  }
  game_.ThrowIfHeld();
  if (phase_ == Phase::Setup) {
    if (!placed_) throw NotCsaRecord(0, "no initial position (PI, P1 to P9 or P+/P- lines)");
    throw NotCsaRecord(0, "no side-to-move line (\"+\" or \"-\") after the initial position");
  }
  return game_.Take();
}

void CsaReader::Line(std::string_view line) {
  if (line.empty() || line[0] == '\'') return;
  // Names and information lines may hold commas of their own.
  if (line[0] == 'N' || line[0] == '$') {
    if (line[0] == 'N' && (line.size() < 2 || (line[1] != '+' && line[1] != '-')))
      throw NotCsaRecord(line_, "cannot read " + Quoted(line));
    return;
  }
  if (line[0] == '/') {
    game_.ThrowIfHeld();
    phase_ = Phase::Ended;
    return;
  }
  while (phase_ != Phase::Ended) {
    const std::size_t comma = line.find(',');
    const std::string_view statement = TrimEnd(line.substr(0, comma));
    if (!statement.empty() && statement[0] == '\'') return;
    Statement(statement);
    if (comma == std::string_view::npos) return;
    line.remove_prefix(std::min(line.find_first_not_of(' ', comma + 1), line.size()));
  }
}

void CsaReader::Statement(std::string_view s) {
  if (s.empty()) return;
  // Time statements: seconds, in version 3.0 with a fraction ("T12", "T3.25").
  if (s[0] == 'T' && s.size() > 1 &&
      s.find_first_not_of("0123456789.", 1) == std::string_view::npos)
    return;
  if (s[0] == '%') return Special(s);
  game_.ThrowIfHeld();
  if (s[0] == 'V' && s.size() > 1 &&
      s.find_first_not_of("0123456789.", 1) == std::string_view::npos)
    return;
  if (s[0] == 'P') return Setup(s);
  if (s == "+" || s == "-") {
    if (phase_ != Phase::Setup) throw NotCsaRecord(line_, "a second side-to-move line");
    return FinishSetup(s == "+" ? Sente : Gote);
  }
  if ((s[0] == '+' || s[0] == '-') && s.size() == 7) return MoveStatement(s);
  throw NotCsaRecord(line_, "cannot read " + Quoted(s));
}

void CsaReader::Setup(std::string_view s) {
  if (phase_ != Phase::Setup) throw NotCsaRecord(line_, "a position line after the moves began");
  placed_ = true;
  if (s.size() >= 2 && s[1] == 'I') return StandardStart(s.substr(2));
  if (s.size() >= 2 && s[1] >= '1' && s[1] <= '9') return BoardLine(s[1] - '0', s.substr(2));
  if (s.size() >= 2 && (s[1] == '+' || s[1] == '-'))
    return PieceLine(s[1] == '+' ? Sente : Gote, s.substr(2));
  throw NotCsaRecord(line_, "cannot read " + Quoted(s));
}

void CsaReader::StandardStart(std::string_view removed) {
  setup_ = StartPosition();
  if (removed.size() % 4 != 0) throw NotCsaRecord(line_, "PI: cannot read " + Quoted(removed));
  for (; !removed.empty(); removed.remove_prefix(4)) {
    const int square = SquareOfDigits(removed.substr(0, 2));
    const int kind = KindOfName(removed.substr(2, 2));
    if (square < 0 || kind == 0 || (setup_.board[square] != kind && setup_.board[square] != -kind))
      throw NotCsaRecord(line_, "PI: no piece " + Quoted(removed.substr(0, 4)) + " to remove");
    setup_.board[square] = 0;
  }
}

void CsaReader::BoardLine(int rank, std::string_view cells) {
  if (cells.size() > BoardLineLength - 2)
    throw NotCsaRecord(line_, "P" + std::to_string(rank) + " holds more than nine cells");
  std::string padded(cells);
  padded.resize(BoardLineLength - 2, ' ');
  for (int column = 0; column < 9; ++column) {
    const std::string_view cell = std::string_view(padded).substr(3 * column, 3);
    const int kind = KindOfName(cell.substr(1));
    PieceCode code = 0;
    if (cell[0] == '+' && kind != 0)
      code = PieceCode(kind);
    else if (cell[0] == '-' && kind != 0)
      code = PieceCode(-kind);
    else if (cell != " * ")
      throw NotCsaRecord(line_,
                         "P" + std::to_string(rank) + ": cannot read the cell " + Quoted(cell));
    setup_.board[(rank - 1) * 9 + column] = code;
  }
}

void CsaReader::PieceLine(Side side, std::string_view pieces) {
  if (pieces.size() % 4 != 0) throw NotCsaRecord(line_, "cannot read " + Quoted(pieces));
  for (; !pieces.empty(); pieces.remove_prefix(4)) {
    const std::string_view entry = pieces.substr(0, 4);
    const int kind = KindOfName(entry.substr(2));
    if (entry == "00AL") {
      if (remainingToHand_) throw NotCsaRecord(line_, "a second 00AL");
      remainingToHand_ = side;
    } else if (entry.starts_with("00") && kind >= FU && kind <= HI) {
      std::int8_t& count = setup_.hand[side][PieceKind(kind)];
      if (count >= SetPieceCounts[kind])
        throw NotCsaRecord(
            line_, "more pieces " + std::string(PieceNames[kind - 1]) + " than a set holds");
      ++count;
    } else if (const int square = SquareOfDigits(entry.substr(0, 2)); square >= 0 && kind != 0) {
      if (setup_.board[square] != 0)
        throw NotCsaRecord(line_, "a second piece on " + std::string(entry.substr(0, 2)));
      setup_.board[square] = PieceCode(side == Sente ? kind : -kind);
    } else {
      throw NotCsaRecord(line_, "cannot read the piece " + Quoted(entry));
    }
  }
}

void CsaReader::FinishSetup(Side side) {
  if (!placed_) throw NotCsaRecord(line_, "no initial position (PI, P1 to P9 or P+/P- lines)");
  if (remainingToHand_) {
    std::array<int, HI + 1> used{};
    for (const PieceCode code : setup_.board) {
      const PieceKind kind = UnpromotedKind(code > 0 ? code : -code);
      if (kind != Empty && kind != OU) ++used[kind];
    }
    for (const PieceKind kind : HandKinds) {
      const int rest =
          SetPieceCounts[kind] - used[kind] - setup_.hand[Sente][kind] - setup_.hand[Gote][kind];
      if (rest > 0)
        setup_.hand[*remainingToHand_][kind] =
            std::int8_t(setup_.hand[*remainingToHand_][kind] + rest);
    }
  }
  game_.Start(setup_, side, line_);
  phase_ = Phase::Moves;
}

void CsaReader::MoveStatement(std::string_view move) {
  if (!IsDigits(move.substr(1, 4)) || KindOfName(move.substr(5)) == 0)
    throw NotCsaRecord(line_, "cannot read the move " + Quoted(move));
  if (phase_ == Phase::Setup) FinishSetup(move[0] == '+' ? Sente : Gote);
  const Side mover = move[0] == '+' ? Sente : Gote;
  if (mover != game_.Current().SideToMove())
    game_.Hold(move, line_, mover == Sente ? " (Gote is to move)" : " (Sente is to move)");
  else if (!game_.Play(move.substr(1)))
    game_.Hold(move, line_);
}

void CsaReader::Special(std::string_view special) {
  if (special.size() < 2 ||
      special.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_+-", 1) != std::string_view::npos)
    throw NotCsaRecord(line_, "cannot read " + Quoted(special));
  if (game_.Holding() && (special == "%ILLEGAL_MOVE" || special == "%+ILLEGAL_ACTION" ||
                          special == "%-ILLEGAL_ACTION"))
    game_.ForgiveHeld();
  game_.ThrowIfHeld();
  if (phase_ == Phase::Setup)
    throw NotCsaRecord(line_, "no side-to-move line before " + Quoted(special));
  phase_ = Phase::Ended;
}

}  // namespace

GameRecord ReadCsa(std::string_view text) { return CsaReader().Read(text); }

std::string WriteCsa(const GameRecord& game) {
  std::string out = "V2.2\nN+\nN-\n";
  const Position start = StartPosition();
  const bool usual = game.start.board == start.board && game.start.hand == start.hand;
  out += usual ? "PI\n" : CsaBoardLines(game.start);
  out += game.startSide == Sente ? "+\n" : "-\n";
  for (const Move m : game.moves) {
    out += SignedMoveText(m);
    out += '\n';
  }
  return out;
}

}  // namespace fv
