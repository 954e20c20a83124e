// CFtpClient against a scripted server: replies cut anywhere, garbage, active-mode ports,
// broken transfers and the replies they leave behind, oversized listings, and errors raised
// at once. (Refusals, hang-ups and the like are sessions in ftp_event_order_test.cpp.)
#include <gtest/gtest.h>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;
using nettest::Raised;
using Dir = const std::string;
using Texts = std::vector<std::string>;

constexpr int kFailed = 1, kTimedOut = 2, kCancelled = 3;
const Texts kLoginCommands = {"USER anonymous", "PASS player@brikka.invalid", "PWD"};

template <class T>
std::string Name(const ::testing::TestParamInfo<T>& info) {
  return info.param.name;
}

TEST(FtpFakeServerTest, GarbageMultiLineGreetingAndRepliesCutAnywhereAreActedOnOnce) {
  FakeFtpServer server;
  // Lines that are no replies, then the greeting's final line cut after two digits and again
  // before its CR LF.
  for (const char* piece :
       {"HTTP/1.1 400 Bad Request\r\n\r\n<html>\r\n", "220-Welcome\r\n", "22", "0 Ready"}) {
    server.Raw(piece).Pause(50);
  }
  server.Raw("\r\n").Expect("USER anonymous").Raw("331 pass").Pause(50).Raw("word please\r\n");
  server.Expect("PASS player@brikka.invalid").Reply("230 in");
  server.Expect("PWD").Reply("257 \"C:\\games\"");
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.ftp.FtpServerMessage(), "Welcome");
  EXPECT_EQ(h.ftp.FtpServerMessage(), "");  // handed out once
  EXPECT_EQ(h.ftp.CurrentDirectory(), "C:/games");
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(server.Seen().commands, kLoginCommands);
}

TEST(FtpFakeServerTest, ActiveModeAnnouncesConsecutivePortsSkippingBusyOnes) {
  FakeFtpServer server;
  server.Login();
  for (int i = 0; i < 2; ++i) {
    server.Ok("TYPE A").Ok("PORT 127,0,0,1,").Expect("LIST").Reply("150 here").ConnectToPort();
    server.SendData("-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a.txt\r\n").CloseData().Reply("226 done");
  }
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  // The next port is one higher; we hold that one, so the client must go on to the next.
  // (Other programs may hold ports too: any later one will do, but not a lower or the same.)
  const int first = server.Seen().ports.at(0);
  nettest::RefusingPort taken(static_cast<uint16_t>(first + 1));
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  EXPECT_EQ(h.ftp.CurrentDirectoryFiles().Count(), 1u);
  server.Finish();
  const auto ports = server.Seen().ports;
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_GE(ports[0], 20000);
  EXPECT_LE(ports[0], 40001);
  EXPECT_GE(ports[1], first + 2);
  EXPECT_LE(ports[1], first + 100);
}

// ---- a download that breaks ------------------------------------------------------------

// The download, over a copy we have, breaks in one of the ways servers break it: the copy
// stays as it was, no temporary file is left, and where the server is still there PWD and
// CWD get their own answers afterwards, never a late one of the download.
struct Broken {
  const char* name;
  std::function<void(FakeFtpServer&)> after_retr;
  int status;
  int number;
  int timeout = 10;     // seconds; short only where the time-out is the point
  bool cancel = false;  // cancel once data came, then open the server's gate
  bool resync = true;   // then PWD and CWD are answered
};

// clang-format off
const Broken kBroken[] = {
    {"Aborted", [](FakeFtpServer& s) { s.SendData("half of the new t").CloseData().Reply("426 aborted"); },
     kFailed, 16426},
    {"ServerGone", [](FakeFtpServer& s) { s.SendData("half of the new t").CloseData().CloseControl(); }, kFailed,
     10054, 10, false, false},
    {"Stalled", [](FakeFtpServer& s) { s.SendData("half of the new t"); }, kTimedOut, 0, 1, false, false},
    // The server's code is what the method reports, whichever comes first.
    {"ResetThenRefusal", [](FakeFtpServer& s) { s.SendData("half").ResetData().Pause(100).Reply("550 gone"); },
     kFailed, 16550},
    {"RefusalThenReset", [](FakeFtpServer& s) { s.Reply("550 gone").Pause(100).ResetData(); }, kFailed, 16550},
    // No word at all: after the time-out the reset is the reason; the server, asked NOOP,
    // shows it owes nothing more.
    {"ResetAndNoReply", [](FakeFtpServer& s) { s.ResetData().Expect("NOOP").Reply("200 NOOP ok"); }, kFailed,
     10054, 1},
    // The answer to the cancelled download comes after the next command has been asked.
    {"LateReplyAfterACancel",
     [](FakeFtpServer& s) { s.SendData("half").Gate().Expect("NOOP").Reply("226 done").Reply("200 NOOP ok"); },
     kCancelled, 0, 10, true},
};
// clang-format on

class FtpBrokenDownloadTest : public ::testing::TestWithParam<Broken> {};

TEST_P(FtpBrokenDownloadTest, KeepsOurCopyAndStaysInStep) {
  const Broken& b = GetParam();
  nettest::TempDir dir;
  nettest::WriteFile(dir / "f", "old table");
  FakeFtpServer server;
  server.Login().PassiveData("I").Expect("RETR f").Reply("150 go");
  b.after_retr(server);
  if (b.resync)
    server.Expect("PWD").Reply("257 \"/home\" is current").Expect("CWD www").Reply("250 ok");
  server.Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  h.ftp.SetTimeOut(static_cast<int16_t>(b.timeout));
  ASSERT_EQ(h.Login(server.port()), 0);
  if (b.cancel) h.ftp.OnDataTransferProgress = [&](int64_t) { h.ftp.CancelAsyncMethod(); };
  EXPECT_EQ(h.Call([&] { h.ftp.DownloadFile("f", dir / "f", true); }), b.status);
  if (b.status == kTimedOut) h.ftp.CancelAsyncMethod();
  EXPECT_EQ(h.ftp.LastFtpError().Number, b.number);
  EXPECT_EQ(nettest::ReadFile(dir / "f"), "old table");
  EXPECT_EQ(nettest::ListFolder(dir.path()), Texts{"f"});
  if (b.resync) {
    server.OpenGate();
    EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), 0);
    EXPECT_EQ(h.ftp.CurrentDirectory(), "/home");
    EXPECT_EQ(h.Call([&] { h.ftp.SetCurrentDirectory("www"); }), 0);
  }
  EXPECT_EQ(server.Finish(), "");
}

INSTANTIATE_TEST_SUITE_P(Breaks, FtpBrokenDownloadTest, ::testing::ValuesIn(kBroken), Name<Broken>);

// ---- listings are held whole, so they have a ceiling -----------------------------------

TEST(FtpFakeServerTest, ListingPastTheCapFailsAndTheSessionGoesOn) {
  const std::string line = "-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a-file-name-of-some-length\r\n";
  FakeFtpServer server;
  server.Login().PassiveData("A").Expect("LIST").Reply("150 here");
  server.SendDataRepeated(line, net::CFtpClient::kMaxListingBytes + (1 << 20));
  server.Expect("NOOP").Reply("200 ok");  // the refused listing's reply never came: back in step
  server.Expect("PWD").Reply("257 \"/\" is current").Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), kFailed);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 10040);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Message too long. The listing passed 64 MiB.");
  EXPECT_LE(h.progress.back(), static_cast<int64_t>(net::CFtpClient::kMaxListingBytes));
  EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), 0);
  EXPECT_EQ(server.Finish(), "");
}

// ---- errors raised at once -------------------------------------------------------------

TEST(FtpFakeServerTest, MethodsRaiseAtOnceWhenTheyCannotStart) {
  FtpHarness fresh;  // no server named
  EXPECT_EQ(Raised([&] { fresh.ftp.Connect(); }),
            "380 CFtpClient.Connect: Invalid property value.");
  EXPECT_EQ(
      Raised([&] { fresh.ftp.GetCurrentDirectory(); }),
      "16008 CFtpClient.SendFtpCommand: CFtpClient.GetCurrentDirectory failed: The connection "
      "is not established.");
  EXPECT_EQ(Raised([&] { fresh.ftp.EnumFiles(); }).substr(0, 6), "16008 ");  // not 16007
  EXPECT_EQ(fresh.ftp.FtpSessionState(), 1);

  FakeFtpServer server;
  server.Reply("220 hi").Expect("USER").Start();  // the login stays half-way
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  h.ftp.Connect();
  EXPECT_EQ(Raised([&] { h.ftp.SetCurrentDirectory("www"); }),
            "16007 CFtpClient.SetCurrentDirectory: Cannot execute the SetCurrentDirectory method. "
            "Waiting fot the server response on the previous command.");
  h.ftp.CancelAsyncMethod();
  const std::string invalid = "Invalid procedure call or argument",
                    property = "Invalid property value.";
  EXPECT_EQ(Raised([&] { h.ftp.RenameFile("a", ""); }), "5 CFtpClient.RenameFile: " + invalid);
  EXPECT_EQ(Raised([&] { h.ftp.DownloadFile("", "x", true); }),
            "5 CFtpClient.DownloadFile: " + invalid);
  for (int16_t bytes : {511, 8193}) {
    EXPECT_EQ(Raised([&] { h.ftp.SetSendBufferLenght(bytes); }),
              "380 CFtpClient.SendBufferLenght: " + property);
  }
  for (int32_t port : {0, 65536}) {
    EXPECT_EQ(Raised([&] { h.ftp.SetRemotePort(port); }), "380 CFtpClient.RemotePort: " + property);
  }
  EXPECT_EQ(h.ftp.RemotePort(), server.port());
  EXPECT_NO_THROW(h.ftp.SetSendBufferLenght(512));
}

TEST(FtpFakeServerTest, LineBreaksInNamesAreRefused) {
  FakeFtpServer server;
  server.Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(Raised([&] { h.ftp.DeleteFile("a.txt\r\nRMD /"); }).substr(0, 2), "5 ");
  server.Finish();
  EXPECT_EQ(server.Seen().commands, kLoginCommands);  // nothing went out
}

}  // namespace
