#include "run/report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "position/input_error.h"
#include "run/move_lines.h"
#include "run/paths.h"
#include "run/statistics_text.h"

namespace fv {

namespace {

// "入力局面->末端局面" (input position -> leaf position) in Shift_JIS.
constexpr int GalleryRowLength = 5;

constexpr const char* PictureHeading = "\x93\xFC\x97\xCD\x8B\xC7\x96\xCA->\x96\x96\x92\x5B\x8B\xC7\x96\xCA";

std::string SystemProblem(const char* what, int error) { return std::string(what) + " (" + std::strerror(error) + ")"; }

// ".report.html.tmp-<pid>" in the folder of `path`: hidden, and one per process.
std::string TemporaryName(const std::string& path) {
  const std::filesystem::path target(path);
  std::string name(".");
  name += target.filename().string();
  name += ".tmp-";
  name += std::to_string(::getpid());
  return (target.parent_path() / name).string();
}

}  // namespace

Report::Report(const std::string& path) : path_(path), temporaryPath_(TemporaryName(path)) {
  // The rename at the end could not replace a directory: refuse it now,
  // before the run touches anything.
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw InputError(path, SystemProblem("cannot create", EISDIR));
  ::unlink(temporaryPath_.c_str());  // left by an interrupted run of the same process id
  const int fd = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw InputError(path, SystemProblem("cannot create", errno));
  file_ = ::fdopen(fd, "w");
  if (!file_) {
    const int error = errno;
    ::close(fd);
    ::unlink(temporaryPath_.c_str());
    throw InputError(path, SystemProblem("cannot create", error));
  }
}

Report::~Report() {
  if (!file_) return;
  std::fclose(file_);
  ::unlink(temporaryPath_.c_str());
}

void Report::WriteOpening() { std::fprintf(file_, "<HTML><BODY>"); }

void Report::WritePictureHeadings() {
  std::fprintf(file_, "%s<br><img src=./log/init.png width=320>  ", PictureHeading);
  std::fprintf(file_, "<img src=./log/leaf.png width=320><br>");
  std::fprintf(file_, "PV=");
}

void Report::WritePv(int side, const std::string& text, int count) {
  std::fputs((MoveLines(side, text, count) + "<br><br>").c_str(), file_);
}

void Report::WriteStatistics(const ContributionStats& stats) {
  std::fputs(ReportStatistics(stats).c_str(), file_);
}

void Report::WriteTotals(const EvaluationAnalysis& analysis) {
  std::fprintf(file_, "evaluation value (material+position)=%+d<br><br>", analysis.total);
  std::fprintf(file_, "material=%+d<br>", analysis.material);
}

void Report::WriteGallery(int rankCount) {
  for (int rank = 1; rank <= rankCount; ++rank) {
    std::fprintf(file_, "<img src=%s width=320> ", RankPicturePath(rank).c_str());
    if (rank % GalleryRowLength == 0) std::fprintf(file_, "<br><br>");
  }
}

void Report::WriteClosingAndClose() {
  std::fprintf(file_, "</BODY></HTML>");
  errno = 0;
  std::string problem;
  if (std::fflush(file_) != 0 || std::ferror(file_))
    problem = errno != 0 ? SystemProblem("cannot write", errno) : "cannot write";
  if (std::fclose(file_) != 0 && problem.empty()) problem = SystemProblem("cannot write", errno);
  file_ = nullptr;
  if (problem.empty() && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
    problem = SystemProblem("cannot put the file in place", errno);
  if (problem.empty()) return;
  ::unlink(temporaryPath_.c_str());
  throw InputError(path_, problem);
}

}  // namespace fv
