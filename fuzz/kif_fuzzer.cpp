// The KIF record reader on arbitrary bytes (UTF-8 or Shift_JIS). A record it
// refuses gets a one-line reason; a record it accepts holds only legal moves,
// so our own writer's text of it reads back to the same game.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "shogi/kif_notation.h"
#include "shogi/notation_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fv;
  GameRecord game;
  try {
    game = ReadKif(fuzz::AsText(data, size));
  } catch (const NotationError& error) {
    fuzz::Expect(fuzz::IsOneLine(error.what()), "a refusal is one line");
    return 0;
  }
  const GameRecord back = ReadKif(WriteKif(game));
  fuzz::Expect(back.moves == game.moves && back.startSide == game.startSide &&
                   back.start.board == game.start.board && back.start.hand == game.start.hand,
               "a written record reads back to the same game");
  return 0;
}
