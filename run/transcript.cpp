#include "run/transcript.h"

#include <cerrno>
#include <cstring>

#include "eval/location_label.h"
#include "eval/weight_layout.h"
#include "position/board_text.h"
#include "run/move_lines.h"
#include "run/statistics_text.h"

namespace fv {

Transcript::Transcript(std::FILE* out, std::FILE* notes, TextEncoding encoding)
    : out_(out), notes_(notes), encoding_(encoding) {}

void Transcript::Write(const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), out_) == text.size() || writeError_ != 0) return;
  writeError_ = errno != 0 ? errno : -1;
}

void Transcript::Flush() {
  errno = 0;
  if (std::fflush(out_) == 0 || writeError_ != 0) return;
  writeError_ = errno != 0 ? errno : -1;
}

void Transcript::WriteBoard(const Position& pos) { Write(BoardText(pos)); }

void Transcript::WritePv(const std::vector<PvMove>& moves) {
  Write("\nPV=" + MoveLines(moves) + "\n\n");
}

void Transcript::WriteAnalysis(const Position& leaf, const EvaluationAnalysis& analysis) {
  std::string text = "KKP=" + std::to_string(analysis.kkpSum) + "\n";
  text += "KPP=" + std::to_string(analysis.kppSum / WeightScale) + "\n";
  text += ConsoleStatistics(analysis.statistics, encoding_);
  text += "RANKING:\n";
  for (std::size_t i = 0; i < analysis.ranked.size(); ++i) {
    const FeatureContribution& term = analysis.ranked[i];
    text += std::to_string(i + 1) + ": value = " + std::to_string(term.value) + "  " +
            TermLabel(leaf, term) + "\n";
  }
  Write(text);
}

void Transcript::Note(const Notice& notice) {
  Flush();
  std::fprintf(notes_, "fvexplain: %s: %s\n", notice.file.c_str(), notice.message.c_str());
}

void Transcript::Note(const Notices& notices) {
  for (const Notice& notice : notices) Note(notice);
}

std::string Transcript::Finish() {
  Flush();
  if (writeError_ == 0 && !std::ferror(out_)) return "";
  return writeError_ > 0 ? "cannot write (" + std::string(std::strerror(writeError_)) + ")"
                         : "cannot write";
}

}  // namespace fv
