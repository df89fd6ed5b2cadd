#include "engine/position_record.h"

#include <array>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/board.h"
#include "position/input_error.h"

namespace fv::engine {
namespace {

// Most pieces of each kind (FU..HI, promoted ones counted as their base kind).
constexpr std::array<int, 8> SetCount = {0, 18, 4, 4, 4, 4, 2, 2};

int KindOfName(std::string_view name) {
  for (int i = 0; i < PieceKindCount; ++i)
    if (PieceNames[i] == name) return i + 1;
  return 0;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void ParseBoardLine(const std::string& line, int rank, Position& pos, const std::string& name) {
  const std::string where = "board line " + std::to_string(rank);
  if (line.size() < 29 || line[0] != 'P' || line[1] != char('0' + rank))
    throw InputError(name, where + ": expected P" + std::to_string(rank) + " and nine cells");
  for (int c = 0; c < 9; ++c) {
    const std::string cell = line.substr(2 + 3 * c, 3);
    const int sq = (rank - 1) * 9 + c;
    if (cell == " * ") continue;
    const int kind = KindOfName(cell.substr(1));
    if ((cell[0] != '+' && cell[0] != '-') || kind == 0)
      throw InputError(name, where + ": bad cell '" + cell + "'");
    pos.board[sq] = PieceCode(cell[0] == '+' ? kind : -kind);
    if (kind == OU) pos.kingSquare[cell[0] == '+' ? Sente : Gote] = std::uint8_t(sq);
  }
}

void ParseHandLine(const std::string& line, Position& pos, const std::string& name) {
  const int side = line[1] == '+' ? Sente : Gote;
  if ((line.size() - 2) % 4 != 0) throw InputError(name, "hand line '" + line + "': entries are four characters");
  for (std::size_t p = 2; p < line.size(); p += 4) {
    const int kind = KindOfName(line.substr(p + 2, 2));
    if (line.compare(p, 2, "00") != 0 || kind < FU || kind > HI)
      throw InputError(name, "hand line '" + line + "': bad entry '" + line.substr(p, 4) + "'");
    if (pos.hand[side][kind - 1] >= SetCount[kind]) throw InputError(name, "more " + line.substr(p + 2, 2) + " than a set holds");
    ++pos.hand[side][kind - 1];
  }
}

}  // namespace

PositionRecord ParsePositionRecord(std::string_view text, const std::string& name) {
  const std::vector<std::string> lines = SplitLines(text);
  // Header lines (three in the usual record) run up to the first board line.
  std::size_t first = 0;
  while (first < lines.size() && lines[first].rfind("P1", 0) != 0) ++first;
  if (first == lines.size()) throw InputError(name, "no board line P1");
  if (lines.size() - first < 9) throw InputError(name, "too short: expected the nine board lines P1 to P9");
  PositionRecord record;
  for (int rank = 1; rank <= 9; ++rank) ParseBoardLine(lines[first + rank - 1], rank, record.position, name);
  std::size_t i = first + 9;
  for (; i < lines.size() && lines[i].size() >= 2 && lines[i][0] == 'P' && (lines[i][1] == '+' || lines[i][1] == '-'); ++i)
    ParseHandLine(lines[i], record.position, name);
  if (i >= lines.size() || (lines[i] != "+" && lines[i] != "-"))
    throw InputError(name, "expected the side to move, a line \"+\" or \"-\", after the hand lines");
  record.sideToMove = lines[i] == "+" ? Sente : Gote;
  CheckPlayable(record, name);
  return record;
}

PositionRecord ReadPositionRecord(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path, "cannot open");
  std::ostringstream text;
  text << in.rdbuf();
  return ParsePositionRecord(text.str(), path);
}

void CheckPlayable(const PositionRecord& record, const std::string& name) {
  const Position& pos = record.position;
  std::array<int, 2> kings{};
  std::array<int, 8> counts{};
  std::array<std::array<bool, 9>, 2> pawnColumn{};
  for (int sq = 0; sq < SquareCount; ++sq) {
    const PieceCode code = pos.board[sq];
    if (code == 0) continue;
    const int side = code > 0 ? Sente : Gote;
    const int kind = code > 0 ? code : -code;
    const int where = side == Sente ? RankOf(sq) : 10 - RankOf(sq);  // 1: farthest rank
    if (kind == OU) {
      ++kings[side];
      continue;
    }
    ++counts[UnpromotedKind(kind)];
    if (((kind == FU || kind == KY) && where == 1) || (kind == KE && where <= 2))
      throw InputError(name, std::string(PieceNames[kind - 1]) + " on square " + std::to_string(FileOf(sq)) +
                                 std::to_string(RankOf(sq)) + " can never move");
    if (kind == FU) {
      if (pawnColumn[side][sq % 9]) throw InputError(name, "two unpromoted pawns of a side on file " + std::to_string(FileOf(sq)));
      pawnColumn[side][sq % 9] = true;
    }
  }
  if (kings[Sente] != 1 || kings[Gote] != 1) throw InputError(name, "each side needs exactly one king");
  for (int side = 0; side < 2; ++side)
    for (int k = 0; k < HandKindCount; ++k) {
      if (pos.hand[side][k] < 0) throw InputError(name, "negative count in hand");
      counts[k + 1] += pos.hand[side][k];
    }
  for (int kind = FU; kind <= HI; ++kind)
    if (counts[kind] > SetCount[kind])
      throw InputError(name, "more " + std::string(PieceNames[kind - 1]) + " than a set holds");
  Board board;
  board.Set(pos, record.sideToMove);
  if (board.IsAttacked(board.KingCell(record.sideToMove ^ 1), record.sideToMove))
    throw InputError(name, "the side not to move is in check");
}

std::string FormatPositionRecord(const PositionRecord& record) {
  const Position& pos = record.position;
  std::string out = "V2.2\nN+fvengine\nN-fvengine\n";
  for (int rank = 1; rank <= 9; ++rank) {
    out += 'P';
    out += char('0' + rank);
    for (int c = 0; c < 9; ++c) {
      const PieceCode code = pos.board[(rank - 1) * 9 + c];
      if (code == 0) {
        out += " * ";
        continue;
      }
      out += code > 0 ? '+' : '-';
      out += PieceNames[(code > 0 ? code : -code) - 1];
    }
    out += '\n';
  }
  for (int side = 0; side < 2; ++side) {
    out += side == Sente ? "P+" : "P-";
    for (int k = HandKindCount - 1; k >= 0; --k)
      for (int n = 0; n < pos.hand[side][k]; ++n) {
        out += "00";
        out += PieceNames[k];
      }
    out += '\n';
  }
  out += record.sideToMove == Sente ? "+\n" : "-\n";
  return out;
}

}  // namespace fv::engine
