// Where a download lands: a regular file is replaced only once the data is all there; a link
// is followed to its file and stays a link; a device or a pipe is written in place and stays
// what it is.
#include "net/ftp_local_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using brikka::testing::TempDir;

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Target {
  const char* name;
  // Makes the target in `dir`; returns the path to download to, or "" to skip here.
  std::function<std::string(const fs::path& dir)> make;
  const char* holder;  // the file that ends up holding the bytes
  bool keeps_link;     // the target itself is a link and must stay one
};

const Target kTargets[] = {
    {"RegularFile",
     [](const fs::path& d) {
       Write(d / "table.ini", "old");
       return (d / "table.ini").string();
     },
     "table.ini", false},
    {"LinkToAFile",
     [](const fs::path& d) {
       Write(d / "real.ini", "old");
       fs::create_symlink("real.ini", d / "table.ini");
       return (d / "table.ini").string();
     },
     "real.ini", true},
    {"ChainOfLinksIntoAnotherFolder",
     [](const fs::path& d) {
       fs::create_directory(d / "sub");
       Write(d / "sub" / "real.ini", "old");
       fs::create_symlink(d / "sub" / "real.ini", d / "middle");
       fs::create_symlink("middle", d / "table.ini");
       return (d / "table.ini").string();
     },
     "sub/real.ini", true},
    {"LinkToNothingYet",
     [](const fs::path& d) {
       fs::create_symlink("real.ini", d / "table.ini");
       return (d / "table.ini").string();
     },
     "real.ini", true},
};

class DownloadSinkTest : public ::testing::TestWithParam<Target> {};

TEST_P(DownloadSinkTest, WritesTheFileBehindTheName) {
  TempDir dir;
  const std::string target = GetParam().make(dir.path());
  const fs::path holder = dir.path() / GetParam().holder;
  {  // a download that breaks off leaves what was there
    net::DownloadSink sink;
    EXPECT_EQ(sink.Open(target, true), 0);
    sink.Write("ne", 2);
    sink.Discard();
    if (fs::exists(holder)) {
      EXPECT_EQ(Read(holder), "old");
    }
  }
  net::DownloadSink sink;
  sink.Open(target, true);
  sink.Write("new", 3);
  sink.Commit();
  EXPECT_EQ(Read(holder), "new");
  EXPECT_EQ(fs::is_symlink(target), GetParam().keeps_link);
  // A resume appends to the same file.
  EXPECT_EQ(sink.Open(target, false), 3);
  sink.Write("er", 2);
  sink.Commit();
  EXPECT_EQ(Read(holder), "newer");
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos);  // no leftovers
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, DownloadSinkTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadSink, PipeIsWrittenInPlaceAndStaysAPipe) {
  TempDir dir;
  const fs::path pipe = dir.path() / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::string read_back;
  std::thread reader([&] { read_back = Read(pipe); });
  net::DownloadSink sink;
  EXPECT_EQ(sink.Open(pipe.string(), true), 0);
  sink.Write("through the pipe", 16);
  sink.Commit();
  reader.join();
  EXPECT_EQ(read_back, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A device of our own (the null device's numbers) stands in for /dev/null, so that a fault
// here can never replace the machine's own.
TEST(DownloadSink, DeviceIsWrittenInPlaceAndStaysADevice) {
  TempDir dir;
  const fs::path device = dir.path() / "null";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "no permission to make a device node here";
  }
  for (bool overwrite : {true, false}) {
    net::DownloadSink sink;
    EXPECT_EQ(sink.Open(device.string(), overwrite), 0);
    sink.Write("gone", 4);
    sink.Commit();
    EXPECT_TRUE(fs::is_character_file(device));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
