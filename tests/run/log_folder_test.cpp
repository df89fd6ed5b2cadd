// Emptying the log folder: the names go at once, the earlier pictures wait
// aside to be written over, the space of the other removed files is freed
// later, and every removed file is let go in the end.
#include "run/log_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace fv {
namespace {

namespace fs = std::filesystem;

// Descriptors of this process that refer to removed files under `folder`.
int RemovedFilesHeld(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = fs::read_symlink(entry.path(), error).string();
    if (!error && target.starts_with(folder.string()) && target.ends_with(" (deleted)")) ++count;
  }
  return count;
}

TEST(EmptyLogFolder, RemovesNamesAtOnceKeepsPicturesAsideAndFreesTheRestLater) {
  testing::TempFolder root;
  const fs::path log = root.path() / "log";
  fs::create_directories(log / "keep");
  std::ofstream(log / "keep/note.txt") << "kept";
  std::ofstream(root.path() / "outside.txt") << "outside";
  for (int i = 0; i < 20; ++i)
    std::ofstream(log / ("rank" + std::to_string(i) + ".png")) << std::string(5000, 'x');
  fs::create_symlink(root.path() / "outside.txt", log / "link");
  ASSERT_EQ(mkfifo((log / "fifo").c_str(), 0644), 0);
  const testing::TemporaryFolderSetTo temporary(root.path() / "tmp");
  {
    RemovedFiles removed = EmptyLogFolder(log.string());
    std::set<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(log))
      left.insert(fs::relative(entry.path(), log));
    EXPECT_EQ(left, (std::set<std::string>{"keep", "keep/note.txt"}));
    EXPECT_EQ(RemovedFilesHeld(log), 2);  // the link and the FIFO
    removed.FreeInBackground();
    // The pictures wait in one hidden folder in the temporary folder.
    ASSERT_NE(removed.spares(), nullptr);
    EXPECT_EQ(test::FilesIn(root.path() / "tmp").size(), 1u);
    const std::string picture = (log / "new.png").string();
    ASSERT_TRUE(removed.spares()->WriteAs(picture, std::vector<std::uint8_t>(7000, 'n')));
    EXPECT_EQ(test::FileText(picture), std::string(7000, 'n'));
    removed.DropSpares();
    EXPECT_TRUE(test::FilesIn(root.path() / "tmp").empty());
  }
  EXPECT_EQ(RemovedFilesHeld(root.path()), 0);
  EXPECT_EQ(test::FileText(root.path() / "outside.txt"), "outside");
}

}  // namespace
}  // namespace fv
