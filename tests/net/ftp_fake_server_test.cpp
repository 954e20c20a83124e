// CFtpClient against a scripted server: replies cut anywhere, multi-line replies, refusals,
// hang-ups, silence, garbage, hostile PASV replies and broken transfers.
#include <gtest/gtest.h>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;

constexpr int kFailed = 1, kTimedOut = 2, kCancelled = 3;

std::vector<std::string> Commands(FakeFtpServer& server) {
  server.Finish();
  return server.Commands();
}

TEST(FtpFakeServerTest, MultiLineGreetingAndRepliesCutAnywhereAreActedOnOnce) {
  FakeFtpServer server;
  server.Raw("220-Welcome\r\n")
      .Pause(50)
      .Raw("22")  // the final line, cut after two digits
      .Pause(50)
      .Raw("0 Ready")  // ... and again before its CR LF
      .Pause(50)
      .Raw("\r\n")
      .Expect("USER anonymous")
      .Raw("331 pass")
      .Pause(50)
      .Raw("word please\r\n")
      .Expect("PASS player@brikka.invalid")
      .Reply("230 in")
      .Expect("PWD")
      .Reply("257 \"/home\"")
      .Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.ftp.FtpServerMessage(), "Welcome");
  EXPECT_EQ(h.ftp.FtpServerMessage(), "");  // handed out once
  EXPECT_EQ(h.ftp.CurrentDirectory(), "/home");
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  EXPECT_EQ(h.states, (std::vector<int>{2, 3, 4, 4, 5, 13, 0}));
  EXPECT_EQ(Commands(server),
            (std::vector<std::string>{"USER anonymous", "PASS player@brikka.invalid", "PWD"}));
  EXPECT_EQ(server.Failure(), "");
}

TEST(FtpFakeServerTest, UserAnsweredBy230SkipsThePassword) {
  FakeFtpServer server;
  server.Reply("220 hi")
      .Expect("USER")
      .Reply("230 no password needed")
      .Expect("PWD")
      .Reply("257 \"C:\\games\\brikka\" is current")
      .Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port(), "player", "secret"), 0);
  EXPECT_EQ(h.ftp.CurrentDirectory(), "C:/games/brikka");
  EXPECT_EQ(Commands(server), (std::vector<std::string>{"USER player", "PWD"}));
}

TEST(FtpFakeServerTest, DirectoryReplyWithoutQuotesIsUnreadable) {
  {  // during the login: the connection is given up
    FakeFtpServer server;
    server.Reply("220 hi")
        .Expect("USER")
        .Reply("230 ok")
        .Expect("PWD")
        .Reply("257 / is current")
        .Start();
    FtpHarness h;
    EXPECT_EQ(h.Login(server.port()), kFailed);
    EXPECT_EQ(h.ftp.LastFtpError().Number, 16001);
    EXPECT_EQ(h.ftp.LastFtpError().Description,
              "Cannot retrieve the current directory path. Unexpected server response.");
    EXPECT_EQ(h.ftp.FtpSessionState(), 1);
    EXPECT_EQ(h.ftp.CurrentDirectory(), "");
  }
  {  // later: only the method fails
    FakeFtpServer server;
    server.Login().Expect("PWD").Reply("257 somewhere").Start();
    FtpHarness h;
    ASSERT_EQ(h.Login(server.port()), 0);
    EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), kFailed);
    EXPECT_EQ(h.events.back().first, "OnGetCurrentDirectory");
    EXPECT_EQ(h.ftp.LastFtpError().Number, 16001);
    EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  }
}

TEST(FtpFakeServerTest, RefusedDeleteIs16550) {
  FakeFtpServer server;
  server.Login().Expect("DELE missing.txt").Reply("550 No such file").Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.DeleteFile("missing.txt"); }), kFailed);
  EXPECT_EQ(h.events.back().first, "OnDeleteFile");
  EXPECT_EQ(h.ftp.LastFtpError().Number, 16550);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Requested action not taken.");
  EXPECT_EQ(h.ftp.LastFtpError().Source, "NetXferLib.CFtpClient");
  EXPECT_EQ(h.protocol.back(), (std::pair<int, std::string>{2, "550 No such file"}));
  EXPECT_FALSE(h.ftp.Busy());
}

// 421 ends whatever runs, wherever it comes.
struct ServiceClosing {
  const char* name;
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&)> act;  // null: the login itself meets the 421
  const char* event;
};

class FtpServiceClosingTest : public ::testing::TestWithParam<ServiceClosing> {};

TEST_P(FtpServiceClosingTest, FailsTheMethodWith16421) {
  FakeFtpServer server;
  GetParam().script(server);
  server.Reply("421 Service closing").CloseControl().Start();
  FtpHarness h;
  if (!GetParam().act) {
    EXPECT_EQ(h.Login(server.port()), kFailed);
  } else {
    ASSERT_EQ(h.Login(server.port()), 0);
    EXPECT_EQ(h.Call([&] { GetParam().act(h); }), kFailed);
  }
  EXPECT_EQ(h.events.back().first, GetParam().event);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 16421);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Service not available, closing control connection.");
  nettest::RunUntil(
      h.loop, [&] { return h.ftp.FtpSessionState() == 1; }, 5000);
  EXPECT_EQ(h.ftp.FtpSessionState(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    AnyPoint, FtpServiceClosingTest,
    ::testing::Values(ServiceClosing{"Greeting", [](FakeFtpServer&) {}, nullptr, "OnConnect"},
                      ServiceClosing{"User",
                                     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER"); },
                                     nullptr, "OnConnect"},
                      ServiceClosing{"Cwd", [](FakeFtpServer& s) { s.Login().Expect("CWD"); },
                                     [](FtpHarness& h) { h.ftp.SetCurrentDirectory("x"); },
                                     "OnSetCurrentDirectory"},
                      ServiceClosing{"Transfer",
                                     [](FakeFtpServer& s) {
                                       s.Login()
                                           .Expect("TYPE I")
                                           .Reply("200 ok")
                                           .Expect("PASV")
                                           .PassiveReply("127,0,0,1")
                                           .Expect("RETR")
                                           .Reply("150 go");
                                     },
                                     [](FtpHarness& h) {
                                       h.ftp.SetPassiveMode(true);
                                       h.ftp.DownloadFile("f", "/tmp/brikka-net-unused-421", true);
                                     },
                                     "OnDownloadFile"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpFakeServerTest, UnsolicitedServiceClosingWhileIdleClosesTheConnection) {
  FakeFtpServer server;
  server.Login().Pause(100).Reply("421 Timeout").Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  ASSERT_TRUE(nettest::RunUntil(
      h.loop, [&] { return h.ftp.FtpSessionState() == 1; }, 5000));
  EXPECT_TRUE(h.events.size() == 1);  // no method was running: no completion event
  try {
    h.ftp.GetCurrentDirectory();
    FAIL() << "no error";
  } catch (const net::NetError& e) {
    EXPECT_EQ(e.Number, 16008);
  }
}

TEST(FtpFakeServerTest, SilentServerTimesOutEveryPeriodUntilCancelled) {
  FakeFtpServer server;
  server.Login().Expect("CWD").Start();  // ... and never answers
  FtpHarness h;
  h.ftp.SetTimeOut(1);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.SetCurrentDirectory("slow"); }), kTimedOut);
  EXPECT_TRUE(h.ftp.Busy());                // still waiting: the time-out stops nothing
  EXPECT_EQ(h.NextEvent(5000), kTimedOut);  // and again a period later
  EXPECT_EQ(h.events.back().first, "OnSetCurrentDirectory");
  h.ftp.CancelAsyncMethod();
  EXPECT_EQ(h.events.back(), (std::pair<std::string, int>{"OnSetCurrentDirectory", kCancelled}));
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  EXPECT_EQ(h.NextEvent(1500), -1);  // no more ticks once the method is over
}

TEST(FtpFakeServerTest, SilentGreetingTimesOutTheConnect) {
  FakeFtpServer server;
  server.Start();
  FtpHarness h;
  h.ftp.SetTimeOut(1);
  EXPECT_EQ(h.Login(server.port()), kTimedOut);
  EXPECT_EQ(h.ftp.FtpSessionState(), 3);  // connected, waiting for the greeting
}

TEST(FtpFakeServerTest, GarbageLinesAreNotReplies) {
  FakeFtpServer server;
  server.Raw("HTTP/1.1 400 Bad Request\r\n\r\n<html>\r\n").Pause(50).Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(Commands(server).front(), "USER anonymous");
}

TEST(FtpFakeServerTest, GarbageThenHangUpFailsTheConnect) {
  FakeFtpServer server;
  server.Raw("SSH-2.0-OpenSSH_9.2\r\n").CloseControl().Start();
  FtpHarness h;
  EXPECT_EQ(h.Login(server.port()), kFailed);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 10054);
  EXPECT_EQ(h.ftp.FtpSessionState(), 1);
}

TEST(FtpFakeServerTest, EndlessReplyFailsInsteadOfGrowing) {
  std::string flood;
  while (flood.size() < 70 * 1024) flood += "220-this greeting never ends, not ever, no.\r\n";
  FakeFtpServer server;
  server.Raw(flood).Start();
  FtpHarness h;
  EXPECT_EQ(h.Login(server.port()), kFailed);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 10040);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Message too long.");
  EXPECT_EQ(h.ftp.FtpSessionState(), 1);
  EXPECT_TRUE(Commands(server).empty());
}

TEST(FtpFakeServerTest, PassiveReplyNamingAnotherHostStillUsesTheControlPeer) {
  nettest::TempDir dir;
  FakeFtpServer server;
  server.Login()
      .Expect("TYPE I")
      .Reply("200 ok")
      .Expect("PASV")
      .PassiveReply("127,0,0,2")  // the listener is on 127.0.0.1 only
      .AcceptData()
      .Expect("RETR scores.ini")
      .Reply("150 go")
      .SendData("[highscores]\r\n")
      .Reply("226 done")  // the reply may come before the data connection ends
      .Pause(100)
      .CloseData()
      .Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.DownloadFile("scores.ini", dir / "scores.ini", true); }), 0);
  EXPECT_EQ(server.DataPeer(), "127.0.0.1");
  EXPECT_EQ(nettest::ReadFile(dir / "scores.ini"), "[highscores]\r\n");
  EXPECT_EQ(nettest::ListFolder(dir.path()), std::vector<std::string>{"scores.ini"});
}

// A download that breaks off leaves the copy we had, and no temporary file.
struct BrokenDownload {
  const char* name;
  std::function<void(FakeFtpServer&)> ending;
  int status;
  int number;
};

class FtpBrokenDownloadTest : public ::testing::TestWithParam<BrokenDownload> {};

TEST_P(FtpBrokenDownloadTest, KeepsTheOldFile) {
  nettest::TempDir dir;
  nettest::WriteFile(dir / "table.ini", "old table");
  FakeFtpServer server;
  server.Login()
      .Expect("TYPE I")
      .Reply("200 ok")
      .Expect("PASV")
      .PassiveReply("127,0,0,1")
      .AcceptData()
      .Expect("RETR table.ini")
      .Reply("150 go")
      .SendData("half of the new t");
  GetParam().ending(server);
  server.Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  h.ftp.SetTimeOut(1);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.DownloadFile("table.ini", dir / "table.ini", true); }),
            GetParam().status);
  if (GetParam().status == kTimedOut) h.ftp.CancelAsyncMethod();
  EXPECT_EQ(h.ftp.LastFtpError().Number, GetParam().number);
  EXPECT_EQ(nettest::ReadFile(dir / "table.ini"), "old table");
  EXPECT_EQ(nettest::ListFolder(dir.path()), std::vector<std::string>{"table.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Endings, FtpBrokenDownloadTest,
    ::testing::Values(BrokenDownload{"Aborted",
                                     [](FakeFtpServer& s) { s.CloseData().Reply("426 aborted"); },
                                     kFailed, 16426},
                      BrokenDownload{"ServerGone",
                                     [](FakeFtpServer& s) { s.CloseData().CloseControl(); },
                                     kFailed, 10054},
                      BrokenDownload{"Stalled", [](FakeFtpServer&) {}, kTimedOut, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpFakeServerTest, UploadOfAMissingFileFailsAndSendsNothing) {
  nettest::TempDir dir;
  FakeFtpServer server;
  server.Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.UploadFile(dir / "nothere.ini", "scores.ini", 0); }), kFailed);
  EXPECT_EQ(h.events.back().first, "OnUploadFile");
  EXPECT_EQ(h.ftp.LastFtpError().Number, 53);
  EXPECT_NE(h.ftp.LastFtpError().Description.find("nothere.ini"), std::string::npos);
  EXPECT_FALSE(h.ftp.Busy());
  EXPECT_EQ(Commands(server),
            (std::vector<std::string>{"USER anonymous", "PASS player@brikka.invalid", "PWD"}));
}

TEST(FtpFakeServerTest, ActiveModeAnnouncesConsecutivePortsInRange) {
  FakeFtpServer server;
  server.Login();
  for (int i = 0; i < 2; ++i) {
    server.Expect("TYPE A")
        .Reply("200 ok")
        .Expect("PORT 127,0,0,1,")
        .Reply("200 ok")
        .Expect("LIST")
        .Reply("150 here")
        .ConnectToPort()
        .SendData("-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a.txt\r\n")
        .CloseData()
        .Reply("226 done");
  }
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  EXPECT_EQ(h.ftp.CurrentDirectoryFiles().Count(), 1u);
  server.Finish();
  const auto ports = server.PortsAnnounced();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_GE(ports[0], 20000);
  EXPECT_LE(ports[0], 40001);
  EXPECT_EQ(ports[1], ports[0] + 1);
}

// A restart marker is no answer to LIST: the listing fails instead of waiting on.
TEST(FtpFakeServerTest, RestartMarkerToListFailsTheListing) {
  FakeFtpServer server;
  server.Login()
      .Expect("TYPE A")
      .Reply("200 ok")
      .Expect("PASV")
      .PassiveReply("127,0,0,1")
      .AcceptData()
      .Expect("LIST")
      .Reply("110 MARK 0 = 0")
      .Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  h.ftp.SetTimeOut(5);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), kFailed);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 16110);
  EXPECT_EQ(h.ftp.LastFtpError().Source, "NetXferLib.CFtpClient");
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
}

TEST(FtpFakeServerTest, ClientMayBeDestroyedFromItsOwnEvent) {
  FakeFtpServer server;
  server.Login().Expect("TYPE A").Reply("500 no").Start();
  platform::NetLoop loop;
  auto ftp = std::make_unique<net::CFtpClient>(loop);
  int statuses = 0;
  ftp->OnConnect = [&](int32_t) { ftp->EnumFiles(); };  // the next method from the event
  ftp->OnEnumFiles = [&](int32_t status) {
    statuses += status;
    ftp.reset();  // as a window does when it closes on the outcome
  };
  ftp->SetFtpServer("127.0.0.1");
  ftp->SetRemotePort(server.port());
  ftp->Connect();
  ASSERT_TRUE(nettest::RunUntil(
      loop, [&] { return ftp == nullptr; }, 5000));
  EXPECT_EQ(statuses, kFailed);
  loop.RunFor(50);  // whatever was still queued for the client finds it gone
}

// ---- errors raised at once -------------------------------------------------------------

template <class F>
net::NetError Raised(F&& f) {
  try {
    f();
  } catch (const net::NetError& e) {
    return e;
  }
  return net::NetError(0, "", "nothing raised");
}

TEST(FtpFakeServerTest, MethodsRaiseAtOnceWhenTheyCannotStart) {
  FakeFtpServer server;
  server.Reply("220 hi").Expect("USER").Start();  // the login stays half-way
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  h.ftp.Connect();
  auto busy = Raised([&] { h.ftp.SetCurrentDirectory("www"); });
  EXPECT_EQ(busy.Number, 16007);
  EXPECT_EQ(busy.Description,
            "Cannot execute the SetCurrentDirectory method. "
            "Waiting fot the server response on the previous command.");
  EXPECT_EQ(busy.Source, "CFtpClient.SetCurrentDirectory");
  h.ftp.CancelAsyncMethod();

  auto empty = Raised([&] { h.ftp.RenameFile("a", ""); });
  EXPECT_EQ(empty.Number, 5);
  EXPECT_EQ(empty.Description, "Invalid procedure call or argument");
  EXPECT_EQ(empty.Source, "CFtpClient.RenameFile");
  EXPECT_EQ(Raised([&] { h.ftp.DownloadFile("", "x", true); }).Source, "CFtpClient.DownloadFile");

  for (int16_t bytes : {511, 8193}) {
    auto bad = Raised([&] { h.ftp.SetSendBufferLenght(bytes); });
    EXPECT_EQ(bad.Number, 380);
    EXPECT_EQ(bad.Description, "Invalid property value.");
    EXPECT_EQ(bad.Source, "CFtpClient.SendBufferLenght");
  }
  for (int32_t port : {0, 65536}) {
    EXPECT_EQ(Raised([&] { h.ftp.SetRemotePort(port); }).Source, "CFtpClient.RemotePort");
  }
  EXPECT_EQ(h.ftp.RemotePort(), server.port());
  EXPECT_NO_THROW(h.ftp.SetSendBufferLenght(512));
}

TEST(FtpFakeServerTest, NotConnectedIs16008AndLeavesNothingPending) {
  FtpHarness h;
  EXPECT_EQ(Raised([&] { h.ftp.Connect(); }).Number, 380);  // no server named
  auto first = Raised([&] { h.ftp.GetCurrentDirectory(); });
  EXPECT_EQ(first.Number, 16008);
  EXPECT_EQ(first.Source, "CFtpClient.SendFtpCommand");
  EXPECT_EQ(first.Description,
            "CFtpClient.GetCurrentDirectory failed: The connection is not established.");
  EXPECT_EQ(Raised([&] { h.ftp.EnumFiles(); }).Number, 16008);  // not 16007
  EXPECT_EQ(h.ftp.FtpSessionState(), 1);
}

TEST(FtpFakeServerTest, LineBreaksInNamesAreRefused) {
  FakeFtpServer server;
  server.Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  auto e = Raised([&] { h.ftp.DeleteFile("a.txt\r\nRMD /"); });
  EXPECT_EQ(e.Number, 5);
  EXPECT_EQ(Commands(server).size(), 3u);  // nothing went out
}

}  // namespace
