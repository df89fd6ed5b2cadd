#include "tools/match/csa_game.h"

#include "shogi/move_text.h"

namespace fv::match {
namespace {

// The record's last line by ending. "%s" stands for the sign of the side that
// broke a rule (the loser); a refused move has no loser and ends the record
// as interrupted.
constexpr const char* EndingLines[] = {
    "%TSUMI",            // Mate
    "%TORYO",            // Resignation
    "%SENNICHITE",       // Repetition
    "%sILLEGAL_ACTION",  // PerpetualCheck
    "%HIKIWAKE",         // MaxPlies
    "%HIKIWAKE",         // DrawClaim
    "%CHUDAN",           // Forfeit
    "%sILLEGAL_ACTION",  // IllegalMove
};

std::string EndingLine(const Result& result) {
  std::string line = EndingLines[int(result.ending)];
  const std::size_t at = line.find("%s");
  if (at == std::string::npos) return line;
  if (result.winner == NoWinner) return "%CHUDAN";
  return line.replace(at, 2, result.winner == Sente ? "%-" : "%+");
}

}  // namespace

std::string FormatCsaGame(const CsaGame& game) {
  std::string out = "V2.2\nN+" + game.sentePlayer + "\nN-" + game.gotePlayer +
                    "\n$EVENT:" + game.event + "\nPI\n+\n";
  for (const RecordedMove& m : game.moves) {
    out += SignedMoveText(m.move) + "\n";
    if (!m.comment.empty()) out += "'" + m.comment + "\n";
  }
  out += EndingLine(game.result) + "\n'" + game.result.detail + "\n";
  return out;
}

}  // namespace fv::match
