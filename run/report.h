// The HTML report page of a run.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "eval/analysis.h"
#include "io/atomic_file.h"
#include "position/pv_moves.h"

namespace fv {

// The report stream, open from the start of the run to its end. The page is
// written whole or not at all (AtomicFile): its name holds either a complete
// page or the page of an earlier run. Its texts are written byte for byte;
// the page has no head and no character set.
class Report {
 public:
  // Starts the page; throws InputError (naming `path`) if it cannot be
  // created or `path` is a directory.
  explicit Report(const std::string& path) : file_(path), stream_(file_.Stream()) {}

  // "<HTML><BODY>"
  void WriteOpening();
  // The headings of the input and leaf pictures, then "PV=".
  void WritePictureHeadings();
  // The PV's move lines (see MoveLines), then "<br><br>".
  void WritePv(const std::vector<PvMove>& moves);
  // The statistics of the leaf's terms (see ReportStatistics).
  void WriteStatistics(const ContributionStats& stats);
  // The evaluation total and the material, signs always shown.
  void WriteTotals(const EvaluationAnalysis& analysis);
  // One picture per rank 1..rankCount at report width, "<br><br>" after
  // every fifth.
  void WriteGallery(int rankCount);
  // "</BODY></HTML>", then puts the page in place (a link under its name is
  // replaced, never written through). Throws InputError if a write or the
  // placing failed; an earlier page stays then. A page never closed (the run
  // stopped) is discarded.
  void WriteClosingAndClose();

 private:
  AtomicFile file_;
  std::FILE* stream_;
};

}  // namespace fv
