// Loading a page in headless Chromium (Debian's chromium) for the tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace fv::test {

constexpr const char* ChromiumPath = "/usr/bin/chromium";

// The page's DOM after its scripts ran (chromium --dump-dom), with a fresh
// profile; nullopt when Chromium is not installed.
inline std::optional<std::string> DumpDom(const std::filesystem::path& page) {
  if (!std::filesystem::exists(ChromiumPath)) return std::nullopt;
  char profile[] = "/tmp/fvexplain-chromium-XXXXXX";
  if (!mkdtemp(profile)) return std::nullopt;
  const std::string command =
      std::string(ChromiumPath) +
      " --headless --no-sandbox --disable-gpu --disable-background-networking"
      " --disable-component-update --disable-sync --no-first-run --user-data-dir=" +
      profile + " --dump-dom 'file://" + std::filesystem::absolute(page).string() + "' 2>/dev/null";
  std::string dom;
  if (std::FILE* out = popen(command.c_str(), "r")) {
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
      dom.append(buffer, got);
    pclose(out);
  }
  std::filesystem::remove_all(profile);
  return dom;
}

// How often `needle` occurs in `text`.
inline int Occurrences(const std::string& text, const std::string& needle) {
  int count = 0;
  for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
    ++count;
  return count;
}

}  // namespace fv::test
