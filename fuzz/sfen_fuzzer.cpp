// The SFEN reader and the USI move reader on arbitrary text. An accepted SFEN
// must hold one king a side and read back unchanged from its written form; a
// move text accepted on its board must be written back as the same text, in
// the canonical form the writer gives.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "shogi/notation_error.h"
#include "shogi/sfen.h"
#include "shogi/usi_move.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fv;
  // The text up to " moves " is the SFEN; the words after it are moves.
  const std::string_view text = fuzz::AsText(data, size);
  const std::size_t split = text.find(" moves ");
  SfenPosition sfen;
  try {
    sfen = ParseSfen(text.substr(0, split));
  } catch (const NotationError& e) {
    fuzz::Expect(std::string_view(e.what()).substr(0, 6) == "SFEN: ", "a refusal names SFEN");
    return 0;
  }
  const Position& pos = sfen.position;
  fuzz::Expect(pos.board[pos.kingSquare[Sente]] == OU && pos.board[pos.kingSquare[Gote]] == -OU,
               "the king squares hold the kings");
  const std::string written = FormatSfen(pos, sfen.sideToMove, sfen.moveNumber);
  const SfenPosition again = ParseSfen(written);
  fuzz::Expect(again.position.board == pos.board && again.position.hand == pos.hand &&
                   again.sideToMove == sfen.sideToMove && again.moveNumber == sfen.moveNumber,
               "a written SFEN reads back unchanged");
  if (split == std::string_view::npos) return 0;
  Board board;
  board.Set(pos, sfen.sideToMove);
  std::string_view moves = text.substr(split + 7);
  while (!moves.empty()) {
    const std::string_view word = moves.substr(0, moves.find(' '));
    moves.remove_prefix(std::min(moves.size(), word.size() + 1));
    try {
      const Move m = ParseUsiMove(board, word);
      fuzz::Expect(UsiMoveText(m) == word, "an accepted move text is written back the same");
      board.Make(m);
    } catch (const NotationError&) {
      return 0;
    }
  }
  return 0;
}
