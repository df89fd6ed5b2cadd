// The console of a run: the transcript on standard output (the boards, the
// PV, the sums, the statistics and the ranking) and the notes about the run on
// standard error, each "fvexplain: <file>: <message>".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "eval/analysis.h"
#include "position/notice.h"
#include "position/pv_moves.h"
#include "run/console_encoding.h"
#include "shogi/position.h"

namespace fv {

class Transcript {
 public:
  // The statistics' Japanese words are written in `encoding`; every other
  // byte of the transcript is ASCII.
  Transcript(std::FILE* out, std::FILE* notes, TextEncoding encoding);

  void WriteBoard(const Position& pos);
  // "\nPV=", then one line per move (see MoveLines), then "\n\n".
  void WritePv(const std::vector<PvMove>& moves);
  // "KKP=" in weight units, "KPP=" in evaluation units, the statistics,
  // "RANKING:" and one line per ranked term: "1: value = 1600  [-41OU]-[+31UM]-[+31UM]".
  void WriteAnalysis(const Position& leaf, const EvaluationAnalysis& analysis);

  // Writes the notice on the notes stream, after the transcript written so far.
  void Note(const Notice& notice);
  void Note(const Notices& notices);

  // Flushes the transcript. Returns "" when every write of it succeeded, else
  // the first failure, "cannot write (No space left on device)".
  std::string Finish();

 private:
  void Write(const std::string& text);
  void Flush();

  std::FILE* out_;
  std::FILE* notes_;
  TextEncoding encoding_;
  int writeError_ = 0;  // errno of the first failed write, -1 if it gave none
};

}  // namespace fv
