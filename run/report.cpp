#include "run/report.h"

#include "run/move_lines.h"
#include "run/paths.h"
#include "run/statistics_text.h"

namespace fv {

namespace {

constexpr int GalleryRowLength = 5;

// "入力局面->末端局面" (input position -> leaf position) in Shift_JIS.
constexpr const char* PictureHeading =
    "\x93\xFC\x97\xCD\x8B\xC7\x96\xCA->\x96\x96\x92\x5B\x8B\xC7\x96\xCA";

}  // namespace

void Report::WriteOpening() { std::fprintf(stream_, "<HTML><BODY>"); }

void Report::WritePictureHeadings() {
  std::fprintf(stream_, "%s<br><img src=./log/init.png width=320>  ", PictureHeading);
  std::fprintf(stream_, "<img src=./log/leaf.png width=320><br>");
  std::fprintf(stream_, "PV=");
}

void Report::WritePv(const std::vector<PvMove>& moves) {
  std::fputs((MoveLines(moves) + "<br><br>").c_str(), stream_);
}

void Report::WriteStatistics(const ContributionStats& stats) {
  std::fputs(ReportStatistics(stats).c_str(), stream_);
}

void Report::WriteTotals(const EvaluationAnalysis& analysis) {
  std::fprintf(stream_, "evaluation value (material+position)=%+d<br><br>", analysis.total);
  std::fprintf(stream_, "material=%+d<br>", analysis.material);
}

void Report::WriteGallery(int rankCount) {
  for (int rank = 1; rank <= rankCount; ++rank) {
    std::fprintf(stream_, "<img src=%s width=320> ", RankPicturePath(rank).c_str());
    if (rank % GalleryRowLength == 0) std::fprintf(stream_, "<br><br>");
  }
}

void Report::WriteClosingAndClose() {
  std::fprintf(stream_, "</BODY></HTML>");
  file_.Commit();
}

}  // namespace fv
