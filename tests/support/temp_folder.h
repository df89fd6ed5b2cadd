// A fresh folder under the system's temporary folder, removed with its contents.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fv::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fv-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// While it lives, the temporary folder of the process (TMPDIR) is `folder`.
class TemporaryFolderSetTo {
 public:
  explicit TemporaryFolderSetTo(const std::filesystem::path& folder) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    std::filesystem::create_directories(folder);
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderSetTo() {
    if (old_.empty())
      ::unsetenv("TMPDIR");
    else
      ::setenv("TMPDIR", old_.c_str(), 1);
  }
  TemporaryFolderSetTo(const TemporaryFolderSetTo&) = delete;
  TemporaryFolderSetTo& operator=(const TemporaryFolderSetTo&) = delete;

 private:
  std::string old_;
};

}  // namespace fv::testing
