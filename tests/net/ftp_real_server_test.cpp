// CFtpClient against real FTP servers started for these tests on 127.0.0.1: pyftpdlib
// always, vsftpd where we run as root. Every command the client has, in passive and
// active mode, ASCII and image type, resumed transfers both ways, and 50 MB there and back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "net_test_support.h"

namespace {

using nettest::FtpHarness;
using nettest::FtpServer;
using nettest::ReadFile;
using nettest::WriteFile;

// One server of each kind for the whole run.
const FtpServer& Server(const std::string& kind) {
  static std::map<std::string, FtpServer> servers;
  auto [it, fresh] = servers.try_emplace(kind);
  if (fresh) it->second = nettest::StartFtpServer(kind);
  return it->second;
}

// A file on the server's disk that the server's own user may change too.
void WriteServerFile(const std::string& path, const std::string& bytes) {
  WriteFile(path, bytes);
  std::filesystem::permissions(path, std::filesystem::perms(0666));
}

std::string Pattern(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  std::mt19937 random(seed);
  for (auto& b : bytes) b = static_cast<char>(random());
  return bytes;
}

class FtpRealServerTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    server_ = &Server(GetParam());
    if (!server_->port) GTEST_SKIP() << server_->why_not;
    ASSERT_EQ(h_.Login(server_->port), 0);
    ASSERT_EQ(h_.Call([&] { h_.ftp.SetCurrentDirectory(server_->remote_work_dir); }), 0);
    // Each test works in a folder of its own on the server.
    remote_dir_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : remote_dir_) {
      if (c == '/') c = '_';
    }
    ASSERT_EQ(h_.Call([&] { h_.ftp.CreateDirectory(remote_dir_); }), 0);
    ASSERT_EQ(h_.Call([&] { h_.ftp.SetCurrentDirectory(remote_dir_); }), 0);
    disk_ = server_->work_dir + "/" + remote_dir_;
  }

  int Download(const std::string& remote, const std::string& local, bool overwrite) {
    return h_.Call([&] { h_.ftp.DownloadFile(remote, local, overwrite); }, 120000);
  }
  int Upload(const std::string& local, const std::string& remote, int32_t start = 0) {
    return h_.Call([&] { h_.ftp.UploadFile(local, remote, start); }, 120000);
  }

  const FtpServer* server_ = nullptr;
  FtpHarness h_;
  nettest::TempDir local_;
  std::string remote_dir_, disk_;
};

TEST_P(FtpRealServerTest, DirectoriesAndFiles) {
  ASSERT_EQ(h_.Call([&] { h_.ftp.GetCurrentDirectory(); }), 0);
  const std::string base = server_->remote_work_dir == "/" ? "" : server_->remote_work_dir;
  EXPECT_EQ(h_.ftp.CurrentDirectory(), base + "/" + remote_dir_);
  ASSERT_EQ(h_.Call([&] { h_.ftp.CreateDirectory("sub"); }), 0);
  EXPECT_TRUE(std::filesystem::exists(disk_ + "/sub"));
  ASSERT_EQ(h_.Call([&] { h_.ftp.RemoveDirectory("sub"); }), 0);
  EXPECT_FALSE(std::filesystem::exists(disk_ + "/sub"));

  WriteServerFile(disk_ + "/old.txt", "content");
  ASSERT_EQ(h_.Call([&] { h_.ftp.RenameFile("old.txt", "new.txt"); }), 0);
  EXPECT_EQ(ReadFile(disk_ + "/new.txt"), "content");
  ASSERT_EQ(h_.Call([&] { h_.ftp.DeleteFile("new.txt"); }), 0);
  EXPECT_FALSE(std::filesystem::exists(disk_ + "/new.txt"));
  ASSERT_EQ(h_.Call([&] { h_.ftp.QuitSession(); }), 0);
  // We closed the connection ourselves: the state stays the idle one last reported.
  EXPECT_EQ(h_.Of('S').back(), "0");
  EXPECT_EQ(h_.ftp.FtpSessionState(), 0);
  EXPECT_THROW(h_.ftp.GetCurrentDirectory(), net::NetError);  // 16008: not connected
}

TEST_P(FtpRealServerTest, TransfersInBothModes) {
  const std::string bytes = Pattern(300000, 1);
  WriteFile(local_.file("up.bin"), bytes);
  for (bool passive : {true, false}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    h_.ftp.SetPassiveMode(passive);
    ASSERT_EQ(Upload(local_.file("up.bin"), "up.bin"), 0);
    EXPECT_TRUE(ReadFile(disk_ + "/up.bin") == bytes);
    EXPECT_EQ(std::stoll(h_.Of('P').back()), 300000);
    ASSERT_EQ(Download("up.bin", local_.file("down.bin"), true), 0);
    EXPECT_TRUE(ReadFile(local_.file("down.bin")) == bytes);
    EXPECT_EQ(std::stoll(h_.Of('P').back()), 300000);

    ASSERT_EQ(h_.Call([&] { h_.ftp.EnumFiles(); }), 0);
    const auto& files = h_.ftp.CurrentDirectoryFiles();
    ASSERT_EQ(files.Count(), 1u);
    const net::CFtpFile& file = *files.begin();
    EXPECT_EQ(file.FileName, "up.bin");
    EXPECT_EQ(file.FileSize, 300000);
    EXPECT_FALSE(file.IsDirectory);
    EXPECT_NE(h_.ftp.CurrentDirectoryListing().find("up.bin"), std::string::npos);
    ASSERT_EQ(h_.Call([&] { h_.ftp.DeleteFile("up.bin"); }), 0);

    // Download: we hold the first 40000 bytes; REST asks for the rest, appended in place.
    WriteServerFile(disk_ + "/full.bin", bytes.substr(0, 100000));
    WriteFile(local_.file("part.bin"), bytes.substr(0, 40000));
    ASSERT_EQ(Download("full.bin", local_.file("part.bin"), false), 0);
    EXPECT_TRUE(ReadFile(local_.file("part.bin")) == bytes.substr(0, 100000));
    EXPECT_EQ(std::stoll(h_.Of('P').back()), 100000);
    const auto sent = h_.Of('>');
    EXPECT_EQ(sent[sent.size() - 2], "REST 40000");
    // Upload: the server holds the first 60000 bytes; we send from there.
    WriteServerFile(disk_ + "/part.bin", bytes.substr(0, 60000));
    ASSERT_EQ(Upload(local_.file("up.bin"), "part.bin", 60000), 0);
    EXPECT_TRUE(ReadFile(disk_ + "/part.bin") == bytes);
    for (const char* name : {"/full.bin", "/part.bin"}) std::filesystem::remove(disk_ + name);
    h_.lines.clear();
  }
  // A download over a file we have replaces it, leaving nothing else behind.
  EXPECT_EQ(nettest::ListFolder(local_.str()),
            (std::vector<std::string>{"down.bin", "part.bin", "up.bin"}));
}

TEST_P(FtpRealServerTest, AsciiAndImageType) {
  WriteServerFile(disk_ + "/lines.txt", "one\ntwo\n");
  h_.ftp.SetPassiveMode(true);
  h_.ftp.SetTransferMode(0);
  ASSERT_EQ(Download("lines.txt", local_.file("ascii.txt"), true), 0);
  EXPECT_EQ(ReadFile(local_.file("ascii.txt")), "one\r\ntwo\r\n");
  WriteFile(local_.file("crlf.txt"), "three\r\nfour\r\n");
  ASSERT_EQ(Upload(local_.file("crlf.txt"), "crlf.txt"), 0);
  EXPECT_EQ(ReadFile(disk_ + "/crlf.txt"), "three\nfour\n");
  h_.ftp.SetTransferMode(1);
  ASSERT_EQ(Download("lines.txt", local_.file("image.txt"), true), 0);
  EXPECT_EQ(ReadFile(local_.file("image.txt")), "one\ntwo\n");
  const auto sent = h_.Of('>');
  EXPECT_NE(std::find(sent.begin(), sent.end(), "TYPE A"), sent.end());
  EXPECT_NE(std::find(sent.begin(), sent.end(), "TYPE I"), sent.end());
}

// The resident set in KiB.
long ResidentKiB() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST_P(FtpRealServerTest, FiftyMegabytesThereAndBackByteForByte) {
  constexpr size_t kSize = 50 * 1000 * 1000;
  {
    std::ofstream out(local_.file("big.bin"), std::ios::binary);
    std::string chunk;
    for (size_t done = 0; done < kSize; done += chunk.size()) {
      chunk = Pattern(std::min<size_t>(1 << 20, kSize - done), static_cast<uint32_t>(done));
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
  }
  const long before = ResidentKiB();
  long peak = before;
  h_.ftp.OnDataTransferProgress = [&](int64_t bytes) {
    if (bytes % (4 << 20) < (256 << 10)) peak = std::max(peak, ResidentKiB());
  };
  h_.ftp.SetPassiveMode(true);
  ASSERT_EQ(Upload(local_.file("big.bin"), "big.bin"), 0);
  h_.ftp.SetPassiveMode(false);
  ASSERT_EQ(Download("big.bin", local_.file("back.bin"), true), 0);
  EXPECT_EQ(std::filesystem::file_size(local_.file("back.bin")), kSize);
  EXPECT_TRUE(ReadFile(local_.file("big.bin")) == ReadFile(local_.file("back.bin")));
  // Flat memory: no buffer grows with the file.
  EXPECT_LT(peak - before, 16 * 1024) << "resident memory grew by " << (peak - before) << " KiB";
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpRealServerTest, ::testing::Values("pyftpdlib", "vsftpd"));

}  // namespace
