// CFtpClient against a scripted server: replies cut anywhere, refusals, hang-ups, silence,
// garbage, hostile PASV replies, strangers at the PORT address, broken transfers and the
// replies they leave behind, oversized listings, slow servers, and errors raised at once.
#include <gtest/gtest.h>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;
using Dir = const std::string;
using Texts = std::vector<std::string>;

constexpr int kFailed = 1, kTimedOut = 2, kCancelled = 3;
const Texts kLoginCommands = {"USER anonymous", "PASS player@brikka.invalid", "PWD"};

template <class T>
std::string Name(const ::testing::TestParamInfo<T>& info) {
  return info.param.name;
}

TEST(FtpFakeServerTest, MultiLineGreetingAndRepliesCutAnywhereAreActedOnOnce) {
  FakeFtpServer server;
  // The greeting's final line cut after two digits and again before its CR LF.
  server.Raw("220-Welcome\r\n").Pause(50).Raw("22").Pause(50).Raw("0 Ready").Pause(50).Raw("\r\n");
  server.Expect("USER anonymous").Raw("331 pass").Pause(50).Raw("word please\r\n");
  server.Expect("PASS player@brikka.invalid").Reply("230 in").Expect("PWD").Reply("257 \"/home\"");
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.ftp.FtpServerMessage(), "Welcome");
  EXPECT_EQ(h.ftp.FtpServerMessage(), "");  // handed out once
  EXPECT_EQ(h.ftp.CurrentDirectory(), "/home");
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(server.Seen().commands, kLoginCommands);
}

TEST(FtpFakeServerTest, GarbageLinesAreNotReplies) {
  FakeFtpServer server;
  server.Raw("HTTP/1.1 400 Bad Request\r\n\r\n<html>\r\n").Pause(50).Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(server.Seen().commands, kLoginCommands);
}

// A login or a method that fails: its event, its error, the state it leaves, whether the
// connection is gone, and how many commands went out in all.
struct Failing {
  const char* name;
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&, Dir& dir)> act;  // null: the login itself fails
  const char* event;
  int number;
  const char* description;  // a part of it
  int last_state;           // 0 when we close the connection, 1 when the server's close is seen
  bool closed;
  size_t commands;
};

void ServiceClosing(FakeFtpServer& s) {
  s.Reply("421 Service closing").CloseControl();
}

const std::string kFlood = [] {
  std::string flood;
  while (flood.size() < 70 * 1024) flood += "220-this greeting never ends, not ever, no.\r\n";
  return flood;
}();

const char* const k421 = "Service not available, closing control connection.";
const char* const kNoPath =
    "Cannot retrieve the current directory path. Unexpected server response.";

// clang-format off
const Failing kFailing[] = {
    // 421 ends whatever runs, wherever it comes.
    {"ServiceClosingAtGreeting", ServiceClosing, nullptr, "OnConnect", 16421, k421, 0, true, 0},
    {"ServiceClosingAtUser", [](FakeFtpServer& s) { ServiceClosing(s.Reply("220 hi").Expect("USER")); }, nullptr,
     "OnConnect", 16421, k421, 0, true, 1},
    {"ServiceClosingAtCwd", [](FakeFtpServer& s) { ServiceClosing(s.Login().Expect("CWD")); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); }, "OnSetCurrentDirectory", 16421, k421, 1, true, 4},
    {"ServiceClosingInATransfer",
     [](FakeFtpServer& s) {
       ServiceClosing(s.Login().Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,1").Expect("RETR").Reply("150 go"));
     },
     [](FtpHarness& h, Dir& dir) { h.ftp.DownloadFile("f", dir + "/f", true); }, "OnDownloadFile", 16421, k421, 1,
     true, 6},
    {"GarbageThenHangUp", [](FakeFtpServer& s) { s.Raw("SSH-2.0-OpenSSH_9.2\r\n").CloseControl(); }, nullptr,
     "OnConnect", 10054, "", 1, true, 0},
    {"EndlessReply", [](FakeFtpServer& s) { s.Raw(kFlood); }, nullptr, "OnConnect", 10040, "Message too long.", 0,
     true, 0},
    // A directory reply without quotes: during the login the connection is given up; later
    // only the method fails.
    {"UnquotedDirectoryAtLogin",
     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("230 ok").Expect("PWD").Reply("257 / is current"); },
     nullptr, "OnConnect", 16001, kNoPath, 0, true, 2},
    {"UnquotedDirectoryLater", [](FakeFtpServer& s) { s.Login().Expect("PWD").Reply("257 somewhere"); },
     [](FtpHarness& h, Dir&) { h.ftp.GetCurrentDirectory(); }, "OnGetCurrentDirectory", 16001, kNoPath, 0, false, 4},
    {"UploadOfAMissingFile", [](FakeFtpServer& s) { s.Login(); },
     [](FtpHarness& h, Dir& dir) { h.ftp.UploadFile(dir + "/nothere.ini", "scores.ini", 0); }, "OnUploadFile", 53,
     "nothere.ini", 0, false, 3},
};
// clang-format on

class FtpFailingTest : public ::testing::TestWithParam<Failing> {};

TEST_P(FtpFailingTest, ReportsItsError) {
  const Failing& f = GetParam();
  nettest::TempDir dir;
  FakeFtpServer server;
  f.script(server);
  server.Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  if (!f.act) {
    EXPECT_EQ(h.Login(server.port()), kFailed);
  } else {
    ASSERT_EQ(h.Login(server.port()), 0);
    EXPECT_EQ(h.Call([&] { f.act(h, dir.path()); }), kFailed);
  }
  EXPECT_EQ(h.events.back().first, f.event);
  EXPECT_EQ(h.ftp.LastFtpError().Number, f.number);
  EXPECT_NE(h.ftp.LastFtpError().Description.find(f.description), std::string::npos)
      << h.ftp.LastFtpError().Description;
  h.loop.RunFor(100);
  EXPECT_EQ(h.ftp.FtpSessionState(), f.last_state);
  EXPECT_EQ(h.states.back(), f.last_state);
  EXPECT_FALSE(h.ftp.Busy());
  if (f.closed) {
    EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // 16008
  }
  EXPECT_TRUE(nettest::ListFolder(dir.path()).empty());
  server.Finish();
  EXPECT_EQ(server.Seen().commands.size(), f.commands);
}

INSTANTIATE_TEST_SUITE_P(Failures, FtpFailingTest, ::testing::ValuesIn(kFailing), Name<Failing>);

TEST(FtpFakeServerTest, PassiveReplyNamingAnotherHostStillUsesTheControlPeer) {
  nettest::TempDir dir;
  FakeFtpServer server;
  server.Login().Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,2");  // we listen on .1 only
  server.AcceptData().Expect("RETR scores.ini").Reply("150 go").SendData("[highscores]\r\n");
  server.Reply("226 done").Pause(100).CloseData();  // the reply may come before the data's end
  server.Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.DownloadFile("scores.ini", dir / "scores.ini", true); }), 0);
  EXPECT_EQ(server.Seen().data_peer, "127.0.0.1");
  EXPECT_EQ(nettest::ReadFile(dir / "scores.ini"), "[highscores]\r\n");
  EXPECT_EQ(nettest::ListFolder(dir.path()), Texts{"scores.ini"});
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

// ---- active mode: only the server may bring or take the data --------------------------

class FtpStrangerAtPortTest : public ::testing::TestWithParam<bool> {};

TEST_P(FtpStrangerAtPortTest, IsTurnedAway) {
  const bool upload = GetParam();
  nettest::TempDir dir;
  nettest::WriteFile(dir / "mine.ini", "my table");
  FakeFtpServer server;
  server.Login()
      .Ok("TYPE I")
      .Ok("PORT 127,0,0,1,")
      .Expect(upload ? "STOR scores.ini" : "RETR scores.ini");
  server.StrangerAtPort("127.0.0.2", upload ? "" : "forged table").ConnectToPort().Reply("150 go");
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
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(server.Seen().stranger_received, "");
  if (upload) {
    EXPECT_EQ(server.Seen().data_received, "my table");
  } else {
    EXPECT_EQ(nettest::ReadFile(dir / "down.ini"), "real table");
  }
}

INSTANTIATE_TEST_SUITE_P(Transfers, FtpStrangerAtPortTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Upload" : "Download"; });

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

// ---- a slow server is not a silent one -------------------------------------------------

// Every piece that arrives, on either connection, starts the time-out again: a reply or a
// download that takes longer than the time-out in all, but never stalls that long, succeeds.
class FtpTrickleTest : public ::testing::TestWithParam<bool> {};

TEST_P(FtpTrickleTest, KeepsTheTimeOutAway) {
  const bool on_data = GetParam();
  FakeFtpServer server;
  server.Login();
  if (on_data) {
    server.PassiveData("I").Expect("RETR f").Reply("150 go");
    for (int i = 0; i < 6; ++i) server.SendData("x").Pause(500);
    server.CloseData().Reply("226 done");
  } else {
    server.Expect("CWD slow");
    for (int i = 0; i < 6; ++i) server.Raw("250-still looking\r\n").Pause(500);
    server.Reply("250 found");
  }
  server.Start();
  FtpHarness h;
  h.ftp.SetTimeOut(2);
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  nettest::TempDir dir;
  EXPECT_EQ(h.Call([&] {
    if (!on_data) return h.ftp.SetCurrentDirectory("slow");
    h.ftp.DownloadFile("f", dir / "f", true);
  }),
            0);
  EXPECT_EQ(h.events.size(), 2u);  // no "timed out" on the way
}

INSTANTIATE_TEST_SUITE_P(Pieces, FtpTrickleTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Download" : "ControlReply"; });

// ---- errors raised at once -------------------------------------------------------------

// `call` raises `number` at once, from `source` (when given) with `text` (when given).
template <class F>
void ExpectRaises(F&& call, int number, const std::string& source = "",
                  const std::string& text = "") {
  try {
    call();
    ADD_FAILURE() << "nothing raised";
  } catch (const net::NetError& e) {
    EXPECT_EQ(e.Number, number);
    EXPECT_TRUE(source.empty() || e.Source == source) << e.Source;
    EXPECT_TRUE(text.empty() || e.Description == text) << e.Description;
  }
}

TEST(FtpFakeServerTest, MethodsRaiseAtOnceWhenTheyCannotStart) {
  FakeFtpServer server;
  server.Reply("220 hi").Expect("USER").Start();  // the login stays half-way
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  h.ftp.Connect();
  ExpectRaises([&] { h.ftp.SetCurrentDirectory("www"); }, 16007, "CFtpClient.SetCurrentDirectory",
               "Cannot execute the SetCurrentDirectory method. "
               "Waiting fot the server response on the previous command.");
  h.ftp.CancelAsyncMethod();
  ExpectRaises([&] { h.ftp.RenameFile("a", ""); }, 5, "CFtpClient.RenameFile",
               "Invalid procedure call or argument");
  ExpectRaises([&] { h.ftp.DownloadFile("", "x", true); }, 5, "CFtpClient.DownloadFile");
  for (int16_t bytes : {511, 8193}) {
    ExpectRaises([&] { h.ftp.SetSendBufferLenght(bytes); }, 380, "CFtpClient.SendBufferLenght",
                 "Invalid property value.");
  }
  for (int32_t port : {0, 65536}) {
    ExpectRaises([&] { h.ftp.SetRemotePort(port); }, 380, "CFtpClient.RemotePort");
  }
  EXPECT_EQ(h.ftp.RemotePort(), server.port());
  EXPECT_NO_THROW(h.ftp.SetSendBufferLenght(512));
}

TEST(FtpFakeServerTest, NotConnectedIs16008AndLeavesNothingPending) {
  FtpHarness h;
  ExpectRaises([&] { h.ftp.Connect(); }, 380);  // no server named
  ExpectRaises([&] { h.ftp.GetCurrentDirectory(); }, 16008, "CFtpClient.SendFtpCommand",
               "CFtpClient.GetCurrentDirectory failed: The connection is not established.");
  ExpectRaises([&] { h.ftp.EnumFiles(); }, 16008);  // not 16007
  EXPECT_EQ(h.ftp.FtpSessionState(), 1);
}

TEST(FtpFakeServerTest, LineBreaksInNamesAreRefused) {
  FakeFtpServer server;
  server.Login().Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  ExpectRaises([&] { h.ftp.DeleteFile("a.txt\r\nRMD /"); }, 5);
  server.Finish();
  EXPECT_EQ(server.Seen().commands, kLoginCommands);  // nothing went out
}

}  // namespace
