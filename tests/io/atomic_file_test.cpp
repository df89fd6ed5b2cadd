// Files written whole or not at all: what a reader can see under the name
// before, during and after the writing, and what a failure leaves behind.
#include "io/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "io/input_error.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"
#include "tests/support/thrown_message.h"

namespace fv {
namespace {

namespace fs = std::filesystem;
using test::FilesIn;
using test::FileText;
using testing::TempFolder;

TEST(AtomicFile, ReplacesAnEarlierFileWholeOnlyWhenCommitted) {
  TempFolder folder;
  const std::string path = folder.File("report.html");
  WriteFileAtomically(path, std::vector<std::uint8_t>(5000, 'a'));
  {
    AtomicFile file(path);
    std::fputs("new page", file.Stream());
    EXPECT_EQ(FileText(path), std::string(5000, 'a'));  // unseen while written
    file.Commit();
  }
  EXPECT_EQ(FileText(path), "new page");
  {
    AtomicFile abandoned(path);
    std::fputs("half a page", abandoned.Stream());
  }
  EXPECT_EQ(FileText(path), "new page");
  EXPECT_EQ(FilesIn(folder.path()), (std::set<std::string>{"report.html"}));
}

TEST(AtomicFile, ReplacesALinkWithoutWritingThroughIt) {
  TempFolder folder;
  WriteFileAtomically(folder.File("target"), std::vector<std::uint8_t>{'t'});
  fs::create_symlink(folder.File("target"), folder.File("leaf.png"));
  WriteFileAtomically(folder.File("leaf.png"), std::vector<std::uint8_t>{'n', 'e', 'w'});
  EXPECT_FALSE(fs::is_symlink(folder.File("leaf.png")));
  EXPECT_EQ(FileText(folder.File("leaf.png")), "new");
  EXPECT_EQ(FileText(folder.File("target")), "t");
}

TEST(AtomicFile, FailuresNameTheFileAndLeaveNothingBehind) {
  TempFolder folder;
  // A folder with something in it stands where the file should go.
  fs::create_directories(folder.path() / "rank001.png" / "inside");
  for (const auto& [path, problem] :
       {std::pair{folder.File("rank001.png"), "cannot create (Is a directory)"},
        {folder.File("missing/rank002.png"), "cannot create (No such file or directory)"}}) {
    EXPECT_EQ(test::ThrownMessage<InputError>(
                  [&] { WriteFileAtomically(path, std::vector<std::uint8_t>(1000, 7)); }),
              path + ": " + problem);
  }
  EXPECT_EQ(FilesIn(folder.path()), (std::set<std::string>{"rank001.png"}));
  EXPECT_TRUE(fs::is_directory(folder.path() / "rank001.png"));
}

}  // namespace
}  // namespace fv
