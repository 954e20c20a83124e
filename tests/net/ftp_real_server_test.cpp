// CFtpClient against real FTP servers started for these tests on 127.0.0.1: pyftpdlib
// always, vsftpd where we run as root. Every command the client has, in passive and
// active mode, ASCII and image type, resumed transfers both ways, and 50 MB there and back.
#include <gtest/gtest.h>

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
FtpServer* Server(const std::string& kind, std::string* why_not) {
  static std::map<std::string, std::pair<std::unique_ptr<FtpServer>, std::string>> servers;
  auto [it, fresh] = servers.try_emplace(kind);
  auto& [server, why] = it->second;
  if (fresh) {
    server = kind == "pyftpdlib" ? nettest::StartPyFtpServer() : nettest::StartVsftpd(&why);
    if (server && !server->ok()) server.reset();
    if (!server && why.empty()) why = kind + " did not start";
  }
  *why_not = why;
  return server.get();
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
    std::string why_not;
    server_ = Server(GetParam(), &why_not);
    if (!server_) GTEST_SKIP() << why_not;
    ASSERT_EQ(h_.Login(server_->port()), 0);
    ASSERT_EQ(h_.Call([&] { h_.ftp.SetCurrentDirectory(server_->remote_work_dir()); }), 0);
    // Each test works in a folder of its own on the server.
    remote_dir_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : remote_dir_) {
      if (c == '/') c = '_';
    }
    ASSERT_EQ(h_.Call([&] { h_.ftp.CreateDirectory(remote_dir_); }), 0);
    ASSERT_EQ(h_.Call([&] { h_.ftp.SetCurrentDirectory(remote_dir_); }), 0);
    disk_ = server_->work_dir() + "/" + remote_dir_;
  }

  int Download(const std::string& remote, const std::string& local, bool overwrite) {
    return h_.Call([&] { h_.ftp.DownloadFile(remote, local, overwrite); }, 120000);
  }
  int Upload(const std::string& local, const std::string& remote, int32_t start = 0) {
    return h_.Call([&] { h_.ftp.UploadFile(local, remote, start); }, 120000);
  }

  FtpServer* server_ = nullptr;
  FtpHarness h_;
  nettest::TempDir local_;
  std::string remote_dir_, disk_;
};

TEST_P(FtpRealServerTest, DirectoriesAndFiles) {
  ASSERT_EQ(h_.Call([&] { h_.ftp.GetCurrentDirectory(); }), 0);
  const std::string base = server_->remote_work_dir() == "/" ? "" : server_->remote_work_dir();
  EXPECT_EQ(h_.ftp.CurrentDirectory(), base + "/" + remote_dir_);
  ASSERT_EQ(h_.Call([&] { h_.ftp.CreateDirectory("sub"); }), 0);
  EXPECT_TRUE(nettest::FileExists(disk_ + "/sub"));
  ASSERT_EQ(h_.Call([&] { h_.ftp.RemoveDirectory("sub"); }), 0);
  EXPECT_FALSE(nettest::FileExists(disk_ + "/sub"));

  WriteServerFile(disk_ + "/old.txt", "content");
  ASSERT_EQ(h_.Call([&] { h_.ftp.RenameFile("old.txt", "new.txt"); }), 0);
  EXPECT_EQ(ReadFile(disk_ + "/new.txt"), "content");
  ASSERT_EQ(h_.Call([&] { h_.ftp.DeleteFile("new.txt"); }), 0);
  EXPECT_FALSE(nettest::FileExists(disk_ + "/new.txt"));

  EXPECT_EQ(h_.Call([&] { h_.ftp.DeleteFile("new.txt"); }), 1);
  EXPECT_EQ(h_.ftp.LastFtpError().Number, 16550);
  EXPECT_EQ(h_.Call([&] { h_.ftp.SetCurrentDirectory("nowhere"); }), 1);
  EXPECT_EQ(h_.ftp.LastFtpError().Number, 16550);
  ASSERT_EQ(h_.Call([&] { h_.ftp.QuitSession(); }), 0);
  // We closed the connection ourselves: the state stays the idle one last reported.
  EXPECT_EQ(h_.states.back(), 0);
  EXPECT_EQ(h_.ftp.FtpSessionState(), 0);
  EXPECT_THROW(h_.ftp.GetCurrentDirectory(), net::NetError);  // 16008: not connected
}

TEST_P(FtpRealServerTest, UserLogin) {
  if (!server_->has_user_login()) GTEST_SKIP() << server_->name() << " runs anonymous only";
  FtpHarness user;
  ASSERT_EQ(user.Login(server_->port(), "brikka", "secret"), 0);
  EXPECT_EQ(user.ftp.CurrentDirectory(), "/");
  FtpHarness wrong;
  EXPECT_EQ(wrong.Login(server_->port(), "brikka", "guess"), 1);
  EXPECT_EQ(wrong.ftp.LastFtpError().Number, 16530);
  EXPECT_EQ(wrong.ftp.LastFtpError().Description, "Not logged in.");
  EXPECT_EQ(wrong.ftp.FtpSessionState(), 0);
}

TEST_P(FtpRealServerTest, TransfersInBothModes) {
  const std::string bytes = Pattern(300000, 1);
  WriteFile(local_ / "up.bin", bytes);
  for (bool passive : {true, false}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    h_.ftp.SetPassiveMode(passive);
    ASSERT_EQ(Upload(local_ / "up.bin", "up.bin"), 0);
    EXPECT_TRUE(ReadFile(disk_ + "/up.bin") == bytes);
    EXPECT_EQ(h_.progress.back(), 300000);
    ASSERT_EQ(Download("up.bin", local_ / "down.bin", true), 0);
    EXPECT_TRUE(ReadFile(local_ / "down.bin") == bytes);
    EXPECT_EQ(h_.progress.back(), 300000);

    ASSERT_EQ(h_.Call([&] { h_.ftp.EnumFiles(); }), 0);
    const auto& files = h_.ftp.CurrentDirectoryFiles();
    ASSERT_EQ(files.Count(), 1u);
    const net::CFtpFile& file = *files.begin();
    EXPECT_EQ(file.FileName, "up.bin");
    EXPECT_EQ(file.FileSize, 300000);
    EXPECT_FALSE(file.IsDirectory);
    EXPECT_NE(h_.ftp.CurrentDirectoryListing().find("up.bin"), std::string::npos);
    ASSERT_EQ(h_.Call([&] { h_.ftp.DeleteFile("up.bin"); }), 0);
  }
  // A download over a file we have replaces it, leaving nothing else behind.
  EXPECT_EQ(nettest::ListFolder(local_.path()), (std::vector<std::string>{"down.bin", "up.bin"}));
}

TEST_P(FtpRealServerTest, AsciiAndImageType) {
  WriteServerFile(disk_ + "/lines.txt", "one\ntwo\n");
  h_.ftp.SetPassiveMode(true);
  h_.ftp.SetTransferMode(0);
  ASSERT_EQ(Download("lines.txt", local_ / "ascii.txt", true), 0);
  EXPECT_EQ(ReadFile(local_ / "ascii.txt"), "one\r\ntwo\r\n");
  WriteFile(local_ / "crlf.txt", "three\r\nfour\r\n");
  ASSERT_EQ(Upload(local_ / "crlf.txt", "crlf.txt"), 0);
  EXPECT_EQ(ReadFile(disk_ + "/crlf.txt"), "three\nfour\n");
  h_.ftp.SetTransferMode(1);
  ASSERT_EQ(Download("lines.txt", local_ / "image.txt", true), 0);
  EXPECT_EQ(ReadFile(local_ / "image.txt"), "one\ntwo\n");
  const auto sent = h_.SentCommands();
  EXPECT_NE(std::find(sent.begin(), sent.end(), "TYPE A"), sent.end());
  EXPECT_NE(std::find(sent.begin(), sent.end(), "TYPE I"), sent.end());
}

TEST_P(FtpRealServerTest, ResumeBothWays) {
  const std::string bytes = Pattern(100000, 2);
  for (bool passive : {true, false}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    h_.ftp.SetPassiveMode(passive);
    // Download: we hold the first 40000 bytes; REST asks for the rest, appended in place.
    WriteServerFile(disk_ + "/full.bin", bytes);
    WriteFile(local_ / "part.bin", bytes.substr(0, 40000));
    ASSERT_EQ(Download("full.bin", local_ / "part.bin", false), 0);
    EXPECT_TRUE(ReadFile(local_ / "part.bin") == bytes);
    EXPECT_EQ(h_.progress.back(), 100000);
    const auto sent = h_.SentCommands();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "REST 40000"), sent.end());
    // Upload: the server holds the first 60000 bytes; we send from there.
    WriteFile(local_ / "full.bin", bytes);
    WriteServerFile(disk_ + "/part.bin", bytes.substr(0, 60000));
    ASSERT_EQ(Upload(local_ / "full.bin", "part.bin", 60000), 0);
    EXPECT_TRUE(ReadFile(disk_ + "/part.bin") == bytes);
    h_.protocol.clear();
  }
}

// Reads VmRSS in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

TEST_P(FtpRealServerTest, FiftyMegabytesThereAndBackByteForByte) {
  constexpr size_t kSize = 50 * 1000 * 1000;
  {
    std::ofstream out(local_ / "big.bin", std::ios::binary);
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
  ASSERT_EQ(Upload(local_ / "big.bin", "big.bin"), 0);
  h_.ftp.SetPassiveMode(false);
  ASSERT_EQ(Download("big.bin", local_ / "back.bin", true), 0);
  EXPECT_EQ(std::filesystem::file_size(local_ / "back.bin"), kSize);
  EXPECT_TRUE(ReadFile(local_ / "big.bin") == ReadFile(local_ / "back.bin"));
  // Flat memory: no buffer grows with the file.
  EXPECT_LT(peak - before, 16 * 1024) << "resident memory grew by " << (peak - before) << " KiB";
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpRealServerTest, ::testing::Values("pyftpdlib", "vsftpd"));

}  // namespace
