// CFtpClient against a scripted server: replies cut anywhere, multi-line replies, refusals,
// hang-ups, silence, garbage, hostile PASV replies, strangers at the PORT address, broken
// transfers and the replies they leave behind, oversized listings, and slow servers.
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
  EXPECT_EQ(Commands(server),
            (std::vector<std::string>{"USER anonymous", "PASS player@brikka.invalid", "PWD"}));
  EXPECT_EQ(server.Failure(), "");
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
    EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // closed: 16008
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

// 421 ends whatever runs, wherever it comes.
struct ServiceClosing {
  const char* name;
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&)> act;  // null: the login itself meets the 421
  const char* event;
  int last_state;  // 0 when we close the connection, 1 when the server's close is seen
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
  h.loop.RunFor(100);
  EXPECT_EQ(h.ftp.FtpSessionState(), GetParam().last_state);
  EXPECT_EQ(h.states.back(), GetParam().last_state);
  EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // the connection is gone
}

INSTANTIATE_TEST_SUITE_P(
    AnyPoint, FtpServiceClosingTest,
    ::testing::Values(ServiceClosing{"Greeting", [](FakeFtpServer&) {}, nullptr, "OnConnect", 0},
                      ServiceClosing{"User",
                                     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER"); },
                                     nullptr, "OnConnect", 0},
                      ServiceClosing{"Cwd", [](FakeFtpServer& s) { s.Login().Expect("CWD"); },
                                     [](FtpHarness& h) { h.ftp.SetCurrentDirectory("x"); },
                                     "OnSetCurrentDirectory", 1},
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
                                     "OnDownloadFile", 1}),
    [](const auto& info) { return std::string(info.param.name); });

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
  EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // closed: 16008
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
      .PassiveData("I")
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

TEST(FtpFakeServerTest, ActiveModeAnnouncesConsecutivePortsSkippingBusyOnes) {
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
  // The next port is one higher; we hold that one, so the client must go on to the next.
  // (Other programs may hold ports too: any later one will do, but not a lower or the same.)
  const int first = server.PortsAnnounced().at(0);
  nettest::RefusingPort taken(static_cast<uint16_t>(first + 1));
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  EXPECT_EQ(h.ftp.CurrentDirectoryFiles().Count(), 1u);
  server.Finish();
  const auto ports = server.PortsAnnounced();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_GE(ports[0], 20000);
  EXPECT_LE(ports[0], 40001);
  EXPECT_GE(ports[1], first + 2);
  EXPECT_LE(ports[1], first + 100);
}

// ---- staying in step after a transfer breaks -------------------------------------------

// The download breaks in one of the ways servers break it; afterwards PWD and CWD must get
// their own answers, never a late one of the download.
struct Broken {
  const char* name;
  std::function<void(FakeFtpServer&)> after_retr;  // ... then PWD and CWD are answered
  int status;
  int number;
  int timeout = 10;     // seconds; short only where the time-out is the point
  bool cancel = false;  // cancel once data came, then open the server's gate
};

class FtpOutOfStepTest : public ::testing::TestWithParam<Broken> {};

TEST_P(FtpOutOfStepTest, LaterCommandsGetTheirOwnReplies) {
  nettest::TempDir dir;
  FakeFtpServer server;
  server.Login().PassiveData("I").Expect("RETR f").Reply("150 go");
  GetParam().after_retr(server);
  server.Expect("PWD").Reply("257 \"/home\" is current").Expect("CWD www").Reply("250 ok").Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  h.ftp.SetTimeOut(static_cast<int16_t>(GetParam().timeout));
  ASSERT_EQ(h.Login(server.port()), 0);
  if (GetParam().cancel) {
    h.ftp.OnDataTransferProgress = [&](int64_t) { h.ftp.CancelAsyncMethod(); };
  }
  EXPECT_EQ(h.Call([&] { h.ftp.DownloadFile("f", dir / "f", true); }), GetParam().status);
  EXPECT_EQ(h.ftp.LastFtpError().Number, GetParam().number);
  server.OpenGate();
  EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), 0);
  EXPECT_EQ(h.ftp.CurrentDirectory(), "/home");
  EXPECT_EQ(h.Call([&] { h.ftp.SetCurrentDirectory("www"); }), 0);
  EXPECT_TRUE(nettest::ListFolder(dir.path()).empty());
  server.Finish();
  EXPECT_EQ(server.Failure(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, FtpOutOfStepTest,
    ::testing::Values(
        // The server's code is what the method reports, whichever comes first.
        Broken{
            "ResetThenRefusal",
            [](FakeFtpServer& s) { s.SendData("half").ResetData().Pause(100).Reply("550 gone"); },
            kFailed, 16550},
        Broken{"RefusalThenReset",
               [](FakeFtpServer& s) { s.Reply("550 gone").Pause(100).ResetData(); }, kFailed,
               16550},
        // No word at all: after the time-out the reset is the reason; the server, asked NOOP,
        // shows it owes nothing more.
        Broken{"ResetAndNoReply",
               [](FakeFtpServer& s) { s.ResetData().Expect("NOOP").Reply("200 NOOP ok"); }, kFailed,
               10054, 1},
        // The answer to the cancelled download comes after the next command has been asked.
        Broken{"LateReplyAfterACancel",
               [](FakeFtpServer& s) {
                 s.SendData("half").Gate().Expect("NOOP").Reply("226 done").Reply("200 NOOP ok");
               },
               kCancelled, 0, 10, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- active mode: only the server may bring or take the data --------------------------

struct Stranger {
  const char* name;
  bool upload;
};

class FtpStrangerAtPortTest : public ::testing::TestWithParam<Stranger> {};

TEST_P(FtpStrangerAtPortTest, IsTurnedAway) {
  const bool upload = GetParam().upload;
  nettest::TempDir dir;
  nettest::WriteFile(dir / "mine.ini", "my table");
  FakeFtpServer server;
  server.Login()
      .Expect("TYPE I")
      .Reply("200 ok")
      .Expect("PORT 127,0,0,1,")
      .Reply("200 ok")
      .Expect(upload ? "STOR scores.ini" : "RETR scores.ini")
      .StrangerAtPort("127.0.0.2", upload ? "" : "forged table")
      .ConnectToPort()
      .Reply("150 go");
  if (upload) {
    server.ReadDataUntilClosed();
  } else {
    server.SendData("real table").CloseData();
  }
  server.Reply("226 done").Start();
  FtpHarness h;
  h.ftp.SetTimeOut(5);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] {
    if (upload) return h.ftp.UploadFile(dir / "mine.ini", "scores.ini", 0);
    h.ftp.DownloadFile("scores.ini", dir / "down.ini", true);
  }),
            0);
  server.Finish();
  EXPECT_EQ(server.StrangerReceived(), "");
  if (upload) {
    EXPECT_EQ(server.DataReceived(), "my table");
  } else {
    EXPECT_EQ(nettest::ReadFile(dir / "down.ini"), "real table");
  }
}

INSTANTIATE_TEST_SUITE_P(Transfers, FtpStrangerAtPortTest,
                         ::testing::Values(Stranger{"Download", false}, Stranger{"Upload", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- listings are held whole, so they have a ceiling -----------------------------------

TEST(FtpFakeServerTest, ListingPastTheCapFailsAndTheSessionGoesOn) {
  const std::string line = "-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a-file-name-of-some-length\r\n";
  FakeFtpServer server;
  server.Login()
      .PassiveData("A")
      .Expect("LIST")
      .Reply("150 here")
      .SendDataRepeated(line, net::CFtpClient::kMaxListingBytes + (1 << 20))
      .Expect("NOOP")  // the refused listing's reply never came: back in step first
      .Reply("200 ok")
      .Expect("PWD")
      .Reply("257 \"/\" is current")
      .Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), kFailed);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 10040);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Message too long. The listing passed 64 MiB.");
  EXPECT_LE(h.progress.back(), static_cast<int64_t>(net::CFtpClient::kMaxListingBytes));
  EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), 0);
  server.Finish();
  EXPECT_EQ(server.Failure(), "");
}

// ---- a slow server is not a silent one -------------------------------------------------

// Every piece that arrives, on either connection, starts the time-out again: a reply or a
// download that takes longer than the time-out in all, but never stalls that long, succeeds.
struct Trickle {
  const char* name;
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&, const std::string& dir)> act;
};

class FtpTrickleTest : public ::testing::TestWithParam<Trickle> {};

TEST_P(FtpTrickleTest, KeepsTheTimeOutAway) {
  FakeFtpServer server;
  server.Login();
  GetParam().script(server);
  server.Start();
  FtpHarness h;
  h.ftp.SetTimeOut(2);
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  nettest::TempDir dir;
  EXPECT_EQ(h.Call([&] { GetParam().act(h, dir.path()); }), 0);
  EXPECT_EQ(h.events.size(), 2u);  // no "timed out" on the way
}

void TrickleOnControl(FakeFtpServer& s) {
  s.Expect("CWD slow");
  for (int i = 0; i < 6; ++i) s.Raw("250-still looking\r\n").Pause(500);
  s.Reply("250 found");
}

void TrickleOnData(FakeFtpServer& s) {
  s.PassiveData("I");
  s.Expect("RETR f").Reply("150 go");
  for (int i = 0; i < 6; ++i) s.SendData("x").Pause(500);
  s.CloseData().Reply("226 done");
}

INSTANTIATE_TEST_SUITE_P(Pieces, FtpTrickleTest,
                         ::testing::Values(Trickle{"ControlReply", TrickleOnControl,
                                                   [](FtpHarness& h, auto&) {
                                                     h.ftp.SetCurrentDirectory("slow");
                                                   }},
                                           Trickle{"Download", TrickleOnData,
                                                   [](FtpHarness& h, const std::string& dir) {
                                                     h.ftp.DownloadFile("f", dir + "/f", true);
                                                   }}),
                         [](const auto& info) { return std::string(info.param.name); });

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
