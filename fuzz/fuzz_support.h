// What every fuzz target needs: a scratch file for the input of a reader that
// takes a path, a stream that swallows output, and a check that stops the run
// with a report when a property of the code under test does not hold.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fv::fuzz {

// A private temporary folder for the process, removed at exit; in memory
// (/dev/shm) where there is one, since every input is written to it.
inline const std::filesystem::path& ScratchFolder() {
  struct Folder {
    std::filesystem::path path;
    Folder() {
      std::string name = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
      name += "/fvexplain-fuzz-XXXXXX";
      if (!mkdtemp(name.data())) std::abort();
      path = name;
    }
    ~Folder() { std::filesystem::remove_all(path); }
  };
  static const Folder folder;
  return folder.path;
}

// The path of `name` in the scratch folder after writing `bytes` to it.
inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = (ScratchFolder() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), std::streamsize(bytes.size()));
  return path;
}

inline std::FILE* NullStream() {
  static std::FILE* const stream = std::fopen("/dev/null", "w");
  return stream;
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the fuzzer with a report when `holds` is false.
inline void Expect(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

// An error message is one line of printable text.
inline bool IsOneLine(std::string_view text) {
  for (const char c : text) {
    if (c == '\n' || c == '\r') return false;
  }
  return true;
}

}  // namespace fv::fuzz
