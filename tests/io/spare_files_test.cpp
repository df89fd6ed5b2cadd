// Files of an earlier run written over as new ones: what the new file looks
// like, which files are never written over, and that nothing stays behind.
#include "io/spare_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

namespace fs = std::filesystem;
using test::FilesIn;
using test::FileText;
using testing::TempFolder;
using testing::TemporaryFolderSetTo;

// Moves every file of `folder` aside into `spares`; returns how many moved.
int KeepAll(SpareFiles& spares, const fs::path& folder) {
  int kept = 0;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  for (const auto& entry : fs::directory_iterator(folder)) {
    struct stat info {};
    ::lstat(entry.path().c_str(), &info);
    kept += spares.Keep(fd, entry.path().filename().string(), info);
  }
  ::close(fd);
  return kept;
}

TEST(SpareFiles, AWrittenOverFileHasTheNewContentModeAndSize) {
  TempFolder root;
  const fs::path log = root.path() / "log";
  fs::create_directories(log);
  std::ofstream(log / "rank001.png") << std::string(20000, 'o');
  std::ofstream(log / "rank002.png") << "old";
  fs::permissions(log / "rank002.png", fs::perms::owner_read | fs::perms::owner_write);
  const mode_t mask = ::umask(022);
  const TemporaryFolderSetTo holding(root.path() / "tmp");
  SpareFiles spares;
  ASSERT_TRUE(spares.Open(log.string()));
  EXPECT_EQ(KeepAll(spares, log), 2);
  EXPECT_TRUE(FilesIn(log).empty());
  EXPECT_EQ(FilesIn(root.path() / "tmp").size(), 1u);  // the hidden holding folder
  for (const std::size_t size : {9000, 100}) {  // larger than one file, smaller than the other
    const std::string path = (log / ("new" + std::to_string(size))).string();
    ASSERT_TRUE(spares.WriteAs(path, std::vector<std::uint8_t>(size, 'n')));
    EXPECT_EQ(FileText(path), std::string(size, 'n'));
    EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0644));
  }
  EXPECT_FALSE(spares.WriteAs((log / "third").string(), std::vector<std::uint8_t>(5, 'x')));
  std::vector<int> held;
  spares.Drop(held);
  EXPECT_TRUE(held.empty());
  EXPECT_TRUE(FilesIn(root.path() / "tmp").empty());
  ::umask(mask);
}

TEST(SpareFiles, NeverWritesOverAFileSeenElsewhere) {
  struct Case {
    const char* what;
    std::function<int(const fs::path& file, const fs::path& root)> share;  // a descriptor or -1
    bool kept;
  };
  const Case cases[] = {
      {"linked elsewhere",
       [](auto& file, auto& root) {
         fs::create_hard_link(file, root / "kept-copy.png");
         return -1;
       },
       false},
      {"open elsewhere", [](auto& file, auto&) { return ::open(file.c_str(), O_RDONLY); }, true},
      {"with an extended attribute",
       [](auto& file, auto&) {
         return ::setxattr(file.c_str(), "user.note", "x", 1, 0) == 0 ? -1 : -2;
       },
       true},
  };
  for (const Case& c : cases) {
    TempFolder root;
    const fs::path log = root.path() / "log";
    fs::create_directories(log);
    std::ofstream(log / "rank001.png") << "earlier picture";
    const int fd = c.share(log / "rank001.png", root.path());
    if (fd == -2) continue;  // no extended attributes on this file system
    SpareFiles spares;
    ASSERT_TRUE(spares.Open(log.string()));
    EXPECT_EQ(KeepAll(spares, log), c.kept ? 1 : 0) << c.what;
    EXPECT_FALSE(spares.WriteAs((log / "new.png").string(), std::vector<std::uint8_t>(9, 'n')))
        << c.what;
    if (fd >= 0) {
      char seen[32] = {};
      EXPECT_EQ(::pread(fd, seen, sizeof seen, 0), 15) << c.what;
      EXPECT_STREQ(seen, "earlier picture");
      ::close(fd);
    }
  }
}

// A run stopped by a signal removes its holding folder; one killed outright
// leaves it, and the next run removes it.
TEST(SpareFiles, AStoppedRunLeavesNoHoldingFolder) {
  for (const int signal : {SIGTERM, SIGKILL}) {
    TempFolder root;
    const fs::path log = root.path() / "log";
    fs::create_directories(log);
    std::ofstream(log / "rank001.png") << "earlier picture";
    const TemporaryFolderSetTo holding(root.path() / "tmp");
    EXPECT_EXIT(
        {
          SpareFiles spares;
          if (spares.Open(log.string()) && KeepAll(spares, log) == 1) std::raise(signal);
          std::exit(0);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_EQ(FilesIn(root.path() / "tmp").size(), signal == SIGKILL ? 1u : 0u);
    SpareFiles next;
    ASSERT_TRUE(next.Open(log.string()));
    std::vector<int> held;
    next.Drop(held);
    EXPECT_TRUE(FilesIn(root.path() / "tmp").empty()) << signal;
  }
}

}  // namespace
}  // namespace fv
