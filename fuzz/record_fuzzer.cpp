// The game record reader on arbitrary bytes. Every record it accepts must hold
// a position that can be analysed, and printing that position as a record and
// reading it back must give the same position.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "io/input_error.h"
#include "position/board_text.h"
#include "position/csa_record.h"
#include "position/material.h"
#include "position/position_check.h"

namespace {

using namespace fv;

bool SamePosition(const Position& a, const Position& b) {
  return a.board == b.board && a.hand == b.hand && a.kingSquare == b.kingSquare;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteScratch("game000.csa", fuzz::AsText(data, size));
  CsaRecord record;
  try {
    record = ReadCsaFile(path);
  } catch (const InputError& error) {
    fuzz::Expect(error.file() == path, "a record error names the record");
    fuzz::Expect(fuzz::IsOneLine(error.problem()), "a record error is one line");
    return 0;
  }
  const Position& pos = record.position;
  fuzz::Expect(PositionProblem(pos).empty(),
               "an accepted record holds a position that can be analysed");
  fuzz::Expect(pos.board[pos.kingSquare[Sente]] == OU && pos.board[pos.kingSquare[Gote]] == -OU,
               "the king squares of an accepted record hold the kings");
  CountMaterial(pos);
  // Two header lines before the printed board's file line make three.
  const std::string reread = fuzz::WriteScratch("reprinted.csa", "\n\n" + BoardText(pos));
  fuzz::Expect(SamePosition(ReadCsaFile(reread).position, pos),
               "a printed position reads back unchanged");
  return 0;
}
