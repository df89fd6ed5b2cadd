// The HTML report page of a run.
#pragma once

#include <cstdio>
#include <string>

#include "eval/analysis.h"

namespace fv {

// The report stream, open from the start of the run to its end. The page is
// written under a temporary name in its folder and renamed into place when it
// is closed, so the final name holds either a complete page or the page of an
// earlier run. Its texts are written byte for byte; the page has no head and
// no character set.
class Report {
 public:
  // Creates the temporary page; throws InputError (naming `path`) if it cannot
  // be created or `path` is a directory.
  explicit Report(const std::string& path);
  // A page that was never closed (the run stopped) is removed; an earlier
  // page under `path` stays.
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // "<HTML><BODY>"
  void WriteOpening();
  // The headings of the input and leaf pictures, then "PV=".
  void WritePictureHeadings();
  // The PV's move lines (see MoveLines), then "<br><br>".
  void WritePv(int side, const std::string& text, int count);
  // The statistics of the leaf's terms (see ReportStatistics).
  void WriteStatistics(const ContributionStats& stats);
  // The evaluation total and the material, signs always shown.
  void WriteTotals(const EvaluationAnalysis& analysis);
  // One picture per rank 1..rankCount at report width, "<br><br>" after
  // every fifth.
  void WriteGallery(int rankCount);
  // "</BODY></HTML>", closes the page and renames it into place (a link under
  // `path` is replaced, never written through). Throws InputError if a write
  // or the rename failed; the temporary page is removed then.
  void WriteClosingAndClose();

 private:
  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
};

}  // namespace fv
