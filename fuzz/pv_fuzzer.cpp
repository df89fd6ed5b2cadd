// The search-log reader and the PV check on one input: a game record and a
// search log separated by the first "%%\n" (without it, the whole input is the
// record and there is no log). A PV that passes the check must lead to a leaf
// that can be analysed.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "io/input_error.h"
#include "position/csa_record.h"
#include "position/position_check.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"

namespace {

using namespace fv;

constexpr std::string_view Separator = "%%\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::size_t split = input.find(Separator);
  const std::string recordPath = fuzz::WriteScratch("game000.csa", input.substr(0, split));
  const std::string logPath = (fuzz::ScratchFolder() / "n000.log").string();
  std::filesystem::remove(logPath);
  if (split != std::string_view::npos)
    fuzz::WriteScratch("n000.log", input.substr(split + Separator.size()));

  Position pos;
  try {
    pos = ReadCsaFile(recordPath).position;
  } catch (const InputError&) {
    return 0;
  }
  std::string text;
  Notices notices;
  const Side side = ReadPvText(logPath, text, notices);
  fuzz::Expect(side == Sente || side == Gote, "the first mover is Sente or Gote");
  fuzz::Expect(text.size() <= PvTextCapacity, "the PV text fits its capacity");
  CheckedPv pv;
  try {
    pv = CheckPv(logPath, side, pos, text);
  } catch (const InputError& error) {
    fuzz::Expect(error.file() == logPath, "a PV error names the search log");
    fuzz::Expect(fuzz::IsOneLine(error.problem()), "a PV error is one line");
    return 0;
  }
  fuzz::Expect(pv.moves.size() == text.size() / PvMoveLength, "one move per six characters");
  fuzz::Expect(PositionProblem(pv.Leaf()).empty(),
               "a PV that passed the check leads to a leaf that can be analysed");
  fuzz::Expect(pv.Leaf().board[pv.Leaf().kingSquare[Sente]] == OU &&
                   pv.Leaf().board[pv.Leaf().kingSquare[Gote]] == -OU,
               "the king squares of the leaf hold the kings");
  return 0;
}
