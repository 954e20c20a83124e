// The data folder: the program folder while it can be written, else the user's XDG data
// folder; and the probe that decides, which must hold for root too. (The folder made when
// missing: the test install.prefix.)
#include "platform/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "temp_dir.h"

namespace fs = std::filesystem;
using platform::CanCreateFilesIn;
using platform::ChooseDataFolder;

namespace {

TEST(DataFolder, TheProgramFolderWhileWritableElseTheUsersDataFolder) {
  EXPECT_EQ(ChooseDataFolder("/opt/g", true, "/x/data", "/home/u"), "/opt/g");
  EXPECT_EQ(ChooseDataFolder("/opt/g", false, "/x/data", "/home/u"), "/x/data/brikka");
  // An empty or relative XDG_DATA_HOME is not a place: the default below HOME is.
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "rel/data"}) {
    EXPECT_EQ(ChooseDataFolder("/opt/g", false, xdg, "/home/u"), "/home/u/.local/share/brikka");
  }
  EXPECT_EQ(ChooseDataFolder("/opt/g", false, nullptr, nullptr), "/opt/g");
}

// Root passes every permission check, so the probe makes a file: /proc takes none, even
// from root. A folder without write permission refuses a user other than root.
TEST(DataFolder, TheProbeMakesAFileAndLeavesNothing) {
  brikka::testing::TempDir dir("brikka-probe");
  EXPECT_TRUE(CanCreateFilesIn(dir.str()));
  EXPECT_TRUE(fs::is_empty(dir.path()));
  EXPECT_FALSE(CanCreateFilesIn(dir.file("missing")));
  EXPECT_FALSE(CanCreateFilesIn("/proc"));
  if (::geteuid() != 0) {
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(CanCreateFilesIn(dir.str()));
  }
}

}  // namespace
