#include "run/report.h"

#include <cerrno>
#include <cstring>

#include "position/input_error.h"
#include "run/paths.h"

namespace fv {

namespace {

// "入力局面->末端局面" (input position -> leaf position) in Shift_JIS.
constexpr int GalleryRowLength = 5;

constexpr const char* PictureHeading = "\x93\xFC\x97\xCD\x8B\xC7\x96\xCA->\x96\x96\x92\x5B\x8B\xC7\x96\xCA";

}  // namespace

Report::Report(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "w")) {
  if (!file_) throw InputError(path, std::string("cannot create (") + std::strerror(errno) + ")");
}

Report::~Report() {
  if (file_) std::fclose(file_);
}

void Report::WriteOpening() { std::fprintf(file_, "<HTML><BODY>"); }

void Report::WritePictureHeadings() {
  std::fprintf(file_, "%s<br><img src=./log/init.png width=320>  ", PictureHeading);
  std::fprintf(file_, "<img src=./log/leaf.png width=320><br>");
  std::fprintf(file_, "PV=");
}

void Report::WriteLineBreaks() { std::fprintf(file_, "<br><br>"); }

void Report::WriteGallery(int rankCount) {
  for (int rank = 1; rank <= rankCount; ++rank) {
    std::fprintf(file_, "<img src=%s width=320> ", RankPicturePath(rank).c_str());
    if (rank % GalleryRowLength == 0) std::fprintf(file_, "<br><br>");
  }
}

void Report::WriteClosingAndClose() {
  std::fprintf(file_, "</BODY></HTML>");
  const bool failed = std::ferror(file_) != 0;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (failed || closed != 0) throw InputError(path_, "cannot write");
}

}  // namespace fv
