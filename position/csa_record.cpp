#include "position/csa_record.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "io/input_error.h"
#include "position/line_reader.h"
#include "position/position_check.h"
#include "position/printable.h"
#include "shogi/piece_rules.h"

namespace fv {

namespace {

constexpr int HeaderLines = 3;
constexpr int BoardLineLength = 2 + 9 * 3;

// Index of a two-letter name among the first `count` PieceNames, or -1.
int NameIndex(std::string_view name, int count) {
  for (int i = 0; i < count; ++i) {
    if (name == PieceNames[i]) return i;
  }
  return -1;
}

std::string_view Content(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return text;
}

// The line without its line end and the blanks an editor may leave before it.
std::string_view TrimmedContent(std::string_view text) {
  text = Content(text);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string BoardLabel(int row) { return {'P', char('1' + row)}; }

// Why a board line too short for its nine cells is refused. A line that is
// not the board line expected there is most often a hand line, read as a
// board line because the record has fewer than three header lines.
std::string ShortBoardLineProblem(std::string_view line, int row, int lineNumber) {
  const std::string where = "line " + std::to_string(lineNumber) + ": ";
  if (line.substr(0, 2) == BoardLabel(row)) return where + "board line shorter than its nine cells";
  return where + "'" + Printable(line) + "' is not the board line " + BoardLabel(row) +
         "; a record has exactly three header lines, then the board lines P1 to P9";
}

// Notes beyond this many are dropped: a record is refused for its first ones.
constexpr std::size_t MaxPassedOverNotes = 64;

void PassOver(CsaRecord& record, int lineNumber, const std::string& what) {
  if (record.passedOver.size() < MaxPassedOverNotes)
    record.passedOver.push_back("line " + std::to_string(lineNumber) + ": " + what);
}

void ReadBoardLine(std::string_view line, int row, int lineNumber, CsaRecord& record) {
  if (line.substr(0, 2) != BoardLabel(row))
    PassOver(record, lineNumber, "not labelled " + BoardLabel(row));
  for (int cell = 0; cell < 9; ++cell) {
    const std::string_view field = line.substr(2 + 3 * cell, 3);
    if (field[0] == ' ') continue;
    const int sign = field[0] == '+' ? 1 : field[0] == '-' ? -1 : 0;
    const int square = row * 9 + cell;
    const int code = NameIndex(field.substr(1), PieceKindCount) + 1;
    if (code > 0) record.position.board[square] = PieceCode(code * sign);
    // A king square is taken only from a cell that places a king: a stray
    // name beginning with O (such as "OY") leaves its square empty and must
    // not move the king's square there.
    if (code == OU && sign != 0)
      record.position.kingSquare[sign > 0 ? Sente : Gote] = std::uint8_t(square);
    if (code == 0 || sign == 0)
      PassOver(record, lineNumber, "cell '" + std::string(field) + "' on " + SquareName(square));
  }
}

// Adds the entries of one hand line (without its line end); a count saturates
// rather than wrapping, so an absurd hand still fails the piece-count check.
void ReadHandLine(std::string_view line, Side side, int lineNumber, CsaRecord& record) {
  for (std::size_t p = 2; p < line.size(); p += 4) {
    const int kind = p + 4 <= line.size() ? NameIndex(line.substr(p + 2, 2), HandKindCount) + 1 : 0;
    if (kind == 0) {
      PassOver(record, lineNumber, "hand entry '" + std::string(line.substr(p, 4)) + "'");
    } else if (std::int8_t& count = record.position.hand[side][PieceKind(kind)]; count < INT8_MAX) {
      ++count;
    }
  }
}

std::optional<Side> SideToMove(std::string_view line) {
  if (line == "+") return Sente;
  if (line == "-") return Gote;
  return std::nullopt;
}

}  // namespace

CsaRecord ReadCsaFile(const std::string& path) {
  LineReader reader(path);
  if (!reader.IsOpen()) throw InputError(path, reader.OpenError());
  CsaRecord record;
  int linesRead = 0;
  for (; linesRead < HeaderLines + 9 && reader.Next(); ++linesRead) {
    if (linesRead < HeaderLines) continue;
    const int row = linesRead - HeaderLines;
    std::string line(Content(reader.Line()));
    // An editor that strips trailing blanks leaves an empty last cell as " *".
    if (line.size() == BoardLineLength - 1 && line.ends_with(" *")) line += ' ';
    if (line.size() < BoardLineLength)
      throw InputError(path, ShortBoardLineProblem(line, row, reader.LineNumber()));
    ReadBoardLine(line, row, reader.LineNumber(), record);
  }
  if (reader.ReadFailed()) throw InputError(path, "cannot read");
  if (linesRead < HeaderLines + 9) {
    throw InputError(path, "only " + std::to_string(linesRead) +
                               (linesRead == 1 ? " line" : " lines") +
                               ", a record needs three header and nine board lines");
  }
  while (reader.Next()) {
    const std::string_view line(reader.Line());
    const char sign = line.size() > 1 ? line[1] : '\0';
    if (sign != '+' && sign != '-') {
      record.sideToMove = SideToMove(TrimmedContent(line));
      break;
    }
    ReadHandLine(TrimmedContent(line), sign == '+' ? Sente : Gote, reader.LineNumber(), record);
  }
  if (reader.ReadFailed()) throw InputError(path, "cannot read");
  const std::string problem = PositionProblem(record.position);
  if (!problem.empty()) throw InputError(path, problem);
  return record;
}

void ReadCsaRecord(const std::string& path, Position& pos) { pos = ReadCsaFile(path).position; }

}  // namespace fv
