// Where a download lands: a regular file is replaced only once the data is all there; a link
// is followed to its file and stays a link; a device or a pipe is written in place and stays
// what it is.
#include "net/ftp_local_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using brikka::testing::TempDir;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

long Entries(const fs::path& dir) {
  return std::distance(fs::directory_iterator(dir), {});
}

struct Target {
  const char* name;
  std::vector<std::pair<const char*, const char*>> links;  // link -> target ('/': in the folder)
  const char* old_file;                                    // made with "old" before, or nullptr
  const char* holder;  // the file that ends up holding the bytes
};

TEST(DownloadSink, WritesTheFileBehindTheNameAndOnlyOnceItIsAllThere) {
  const Target targets[] = {
      {"regular file", {}, "table.ini", "table.ini"},
      {"link to a file", {{"table.ini", "real.ini"}}, "real.ini", "real.ini"},
      {"chain of links into another folder",
       {{"middle", "/sub/real.ini"}, {"table.ini", "middle"}},
       "sub/real.ini",
       "sub/real.ini"},
      {"link to nothing yet", {{"table.ini", "real.ini"}}, nullptr, "real.ini"},
  };
  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    if (t.old_file) std::ofstream(dir.path() / t.old_file) << "old";
    for (auto [link, to] : t.links)
      fs::create_symlink(to[0] == '/' ? dir.str() + to : to, dir.path() / link);
    const std::string target = dir.file("table.ini");
    const fs::path holder = dir.path() / t.holder;
    {  // a download that breaks off leaves what was there
      net::DownloadSink sink;
      EXPECT_EQ(sink.Open(target, true), 0);
      sink.Write("ne", 2);
      sink.Discard();
      EXPECT_EQ(Read(holder), t.old_file ? "old" : "");
    }
    net::DownloadSink sink;
    sink.Open(target, true);
    sink.Write("new", 3);
    sink.Commit();
    EXPECT_EQ(Read(holder), "new");
    EXPECT_EQ(fs::is_symlink(target), !t.links.empty());
    EXPECT_EQ(sink.Open(target, false), 3);  // a resume appends to the same file
    sink.Write("er", 2);
    sink.Commit();
    EXPECT_EQ(Read(holder), "newer");
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos);
  }
}

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
  EXPECT_EQ(Entries(dir.path()), 1);
}

// A device of our own (the null device's numbers) stands in for /dev/null, so that a fault
// here can never replace the machine's own.
TEST(DownloadSink, DeviceIsWrittenInPlaceAndStaysADevice) {
  TempDir dir;
  const fs::path device = dir.path() / "null";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no mknod here";
  for (bool overwrite : {true, false}) {
    net::DownloadSink sink;
    EXPECT_EQ(sink.Open(device.string(), overwrite), 0);
    sink.Write("gone", 4);
    sink.Commit();
    EXPECT_TRUE(fs::is_character_file(device));
  }
  EXPECT_EQ(Entries(dir.path()), 1);
}

}  // namespace
