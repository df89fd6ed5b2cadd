// The HTML report page of a run.
#pragma once

#include <cstdio>
#include <string>

namespace fv {

// The report stream, open from the start of the run to its end. Its texts
// are written byte for byte; the page has no head and no character set.
class Report {
 public:
  // Creates or replaces the page; throws InputError if it cannot be created.
  explicit Report(const std::string& path);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  std::FILE* stream() { return file_; }

  // "<HTML><BODY>"
  void WriteOpening();
  // The headings of the input and leaf pictures, then "PV=".
  void WritePictureHeadings();
  // "<br><br>" after the PV.
  void WriteLineBreaks();
  // One picture per rank 1..rankCount at report width, "<br><br>" after
  // every fifth.
  void WriteGallery(int rankCount);
  // "</BODY></HTML>", then closes the page; throws InputError if any write failed.
  void WriteClosingAndClose();

 private:
  std::string path_;
  std::FILE* file_;
};

}  // namespace fv
