#include "shogi/record_reader.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "shogi/csa_notation.h"
#include "shogi/kif_notation.h"
#include "shogi/move_text.h"
#include "shogi/notation_error.h"
#include "shogi/record_text.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"

namespace fv {
namespace {

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
  return name.size() >= ending.size() &&
         std::equal(ending.begin(), ending.end(), name.end() - ending.size(), [](char a, char b) {
           return a == std::tolower(static_cast<unsigned char>(b));
         });
}

bool LooksLikeSfen(std::string_view line) {
  if (line.starts_with("position ")) line.remove_prefix(9);
  if (line.starts_with("sfen ") || line.starts_with("startpos")) return true;
  return std::count(line.begin(), line.begin() + std::min(line.find(' '), line.size()), '/') == 8;
}

}  // namespace

Notation NotationOf(std::string_view bytes, std::string_view name) {
  if (EndsWithNoCase(name, ".csa")) return Notation::Csa;
  if (EndsWithNoCase(name, ".kif") || EndsWithNoCase(name, ".kifu")) return Notation::Kif;
  if (EndsWithNoCase(name, ".sfen")) return Notation::Sfen;
  for (const std::string_view line : SplitLines(bytes)) {
    const std::string_view text = TrimEnd(line);
    if (text.empty() || text[0] == '\'') continue;
    if (LooksLikeSfen(text)) return Notation::Sfen;
    return std::string_view("VNP$+-").find(text[0]) != std::string_view::npos ? Notation::Csa
                                                                              : Notation::Kif;
  }
  return Notation::Kif;
}

GameRecord ReadRecord(std::string_view bytes, std::string_view name) {
  switch (NotationOf(bytes, name)) {
    case Notation::Csa:
      return ReadCsa(bytes);
    case Notation::Kif:
      return ReadKif(bytes);
    case Notation::Sfen:
      break;
  }
  std::vector<std::string_view> lines = SplitLines(bytes);
  std::erase_if(lines, [](std::string_view line) { return TrimEnd(line).empty(); });
  if (lines.size() != 1)
    throw NotationError("SFEN: expected one line, not " + std::to_string(lines.size()));
  return ReadSfenLine(lines[0]);
}

GameRecord ReadSfenLine(std::string_view line) {
  std::string_view position = TrimEnd(line);
  std::string_view moves;
  if (const std::size_t at = position.find(" moves"); at != std::string_view::npos) {
    moves = position.substr(at + 6);
    position = TrimEnd(position.substr(0, at));
  }
  if (position.starts_with("position ")) position.remove_prefix(9);
  if (position.starts_with("sfen ")) position.remove_prefix(5);
  const SfenPosition sfen = ParseSfen(position == "startpos" ? StartSfen : position);
  RecordBuilder game;
  game.Start(sfen.position, sfen.sideToMove, 0);
  while (!(moves = moves.substr(std::min(moves.find_first_not_of(' '), moves.size()))).empty()) {
    const std::string_view word = moves.substr(0, moves.find(' '));
    Board board = game.Current();
    game.Play(MoveText(ParseUsiMove(board, word)));
    moves.remove_prefix(word.size());
  }
  return game.Take();
}

}  // namespace fv
