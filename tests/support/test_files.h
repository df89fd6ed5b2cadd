// Temporary files and captured streams for tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <unistd.h>

namespace fv::test {

// A file with the given bytes, removed again when the object goes.
class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    char name[] = "/tmp/fvexplain-test-XXXXXX";
    close(mkstemp(name));
    path_ = name;
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A stream whose bytes can be read back.
class CapturedStream {
 public:
  CapturedStream() : file_(open_memstream(&buffer_, &size_)) {}
  ~CapturedStream() { std::fclose(file_), std::free(buffer_); }
  std::FILE* file() { return file_; }
  std::string text() { return std::fflush(file_), std::string(buffer_, size_); }

 private:
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

// The bytes of the file at `path`; "" when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names of the entries of `folder`.
inline std::set<std::string> FilesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

}  // namespace fv::test
