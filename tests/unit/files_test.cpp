// The application folder, case-insensitive game paths, atomic replacement (including the
// failures that must leave the old file and no temporary behind) and whole-file reads.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_dir.h"

namespace fs = std::filesystem;
using platform::ReadWholeFile;
using platform::ReplaceFileAtomically;
using platform::ResolvePath;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void Put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  long Entries() const { return std::distance(fs::directory_iterator(dir_), {}); }

  brikka::testing::TempDir tmp_{"brikka-files"};
  fs::path dir_ = tmp_.path();
  std::string root_ = dir_.string();
};

TEST_F(FilesTest, ExecutableFolderAndCaseInsensitivePaths) {
  const std::string folder = platform::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_NE(folder.back(), '/');
  EXPECT_EQ(fs::canonical(folder), fs::canonical("/proc/self/exe").parent_path());

  Put(dir_ / "texs" / "block.tga", "t");
  Put(dir_ / "data.ini", "lower");
  Put(dir_ / "Data.ini", "upper");
  const std::pair<std::string, std::string> cases[] = {
      // each component matched without case, either slash
      {"\\Texs\\Block.tga", "/texs/block.tga"},
      {"TEXS/BLOCK.TGA", "/texs/block.tga"},
      // the exact name first, then the smallest
      {"\\data.ini", "/data.ini"},
      {"\\DATA.INI", "/Data.ini"},
      // what is not there is kept, in the folder that is there under another case
      {"\\Nope\\Block.tga", "/Nope/Block.tga"},
      {"\\TEXS\\New.tga", "/texs/New.tga"},
  };
  for (const auto& [path, want] : cases) EXPECT_EQ(ResolvePath(root_, path), root_ + want) << path;
  EXPECT_EQ(ResolvePath(root_ + "/", "\\\\texs\\\\block.tga"), root_ + "/texs/block.tga");
}

TEST_F(FilesTest, ReplaceWritesKeepsPermissionBitsAndFollowsLinks) {
  const fs::path target = dir_ / "scores.ini";
  ASSERT_TRUE(ReplaceFileAtomically(target.string(), "first"));
  EXPECT_EQ(Get(target), "first");
  const fs::perms fresh = fs::status(target).permissions();
  EXPECT_NE(fresh & fs::perms::owner_read, fs::perms::none);
  EXPECT_EQ(fresh & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec),
            fs::perms::none);

  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(ReplaceFileAtomically(target.string(), std::string("se\0cond", 7)));
  EXPECT_EQ(Get(target), std::string("se\0cond", 7));
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), 1);  // no temporary left beside it

  Put(dir_ / "real.ini", "old");  // through a link: its target is replaced
  fs::create_symlink("real.ini", dir_ / "link.ini");
  ASSERT_TRUE(ReplaceFileAtomically((dir_ / "link.ini").string(), "new"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(Get(dir_ / "real.ini"), "new");
  EXPECT_EQ(Entries(), 3);
}

TEST_F(FilesTest, ReplaceFailuresLeaveTheOldStateAndNoTemporary) {
  // A folder where the file should be: the rename fails after the temporary was written.
  Put(dir_ / "busy" / "inside", "kept");
  EXPECT_FALSE(ReplaceFileAtomically((dir_ / "busy").string(), "bytes"));
  EXPECT_EQ(Get(dir_ / "busy" / "inside"), "kept");
  EXPECT_EQ(Entries(), 1);

  EXPECT_FALSE(ReplaceFileAtomically((dir_ / "missing" / "x.ini").string(), "bytes"));
  EXPECT_FALSE(ReplaceFileAtomically((dir_ / "busy" / "inside" / "x.ini").string(), "bytes"));
  EXPECT_FALSE(ReplaceFileAtomically(root_ + "/", "bytes"));
  EXPECT_EQ(Entries(), 1);
}

// A full disk, made without root's immunity to permissions: the size limit also binds root.
TEST_F(FilesTest, ReplaceThatRunsOutOfSpaceKeepsTheOldFile) {
  const fs::path target = dir_ / "Data.ini";
  Put(target, "[Menu]\r\nMusic=0\r\n");
  rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = ReplaceFileAtomically(target.string(), std::string(100000, 'z'));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Get(target), "[Menu]\r\nMusic=0\r\n");
  EXPECT_EQ(Entries(), 1);
}

TEST_F(FilesTest, ReadWholeFileReadsEveryByteAndRefusesWhatIsNotAFile) {
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 31);
  Put(dir_ / "blob", bytes);
  Put(dir_ / "empty", "");
  std::string got = "stale";
  ASSERT_TRUE(ReadWholeFile((dir_ / "blob").string(), got));
  EXPECT_EQ(got, bytes);
  ASSERT_TRUE(ReadWholeFile((dir_ / "empty").string(), got));
  EXPECT_EQ(got, "");

  got = "untouched";
  EXPECT_FALSE(ReadWholeFile((dir_ / "nothing").string(), got));
  EXPECT_FALSE(ReadWholeFile(root_, got));
  EXPECT_FALSE(ReadWholeFile("/dev/zero", got));  // endless: must not be swallowed
  EXPECT_EQ(got, "untouched");
}

}  // namespace
