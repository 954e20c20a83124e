// The order of CFtpClient's events. Every event of a whole session of each method is written
// down with the session state at that moment and compared, step by step, with the order the
// client promises: a command's state comes as it is sent, a method ends with state 0 before
// its completion event, and only the server's hang-up reports state 1. Failures are sessions
// too, with the error they leave, and so are handlers that reconnect from the event that
// reports one. Then a whole session driven from completion events, destroying the client from
// every event of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;
using Lines = std::vector<std::string>;
using Dir = const std::string;

// An expected line ending in '*' matches any line that begins with what comes before it.
bool Matches(const std::string& expected, const std::string& line) {
  if (!expected.empty() && expected.back() == '*') {
    return line.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
  }
  return expected == line;
}

std::string Show(const Lines& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i)
    text += "  " + std::to_string(i) + ": " + lines[i] + "\n";
  return text;
}

void ExpectSequence(const Lines& expected, const Lines& got) {
  for (size_t i = 0; i < std::max(expected.size(), got.size()); ++i) {
    if (i >= expected.size() || i >= got.size() || !Matches(expected[i], got[i])) {
      ADD_FAILURE() << "step " << i << " differs\nexpected:\n"
                    << Show(expected) << "got:\n"
                    << Show(got);
      return;
    }
  }
}

struct Session {
  const char* name;
  bool from_connect;  // the session starts at Connect; otherwise after a login
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&, Dir& dir)> act;  // null: Connect when from_connect, else nothing
  Lines expected;
  Lines gates = {};       // lines on which the server's next gate opens
  int error = 0;          // LastFtpError().Number afterwards ...
  const char* says = "";  // ... and a part of its description
  // What a transfer moved: our "f" after a download, what the server got from an upload.
  const char* moved = "";
  bool closed = false;  // the connection is gone afterwards
  int quiet_ms = 100;   // for how long after the last line nothing more may come
};

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A whole anonymous login, against FakeFtpServer::Login().
// clang-format off
const Lines kLogin = {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<331 password please", "S4",
                      ">PASS player@brikka.invalid", "<230 logged in", "S5", "S13", ">PWD",
                      "<257 \"/\" is current", "S0", "OnConnect(0)@0"};
// clang-format on

// Connects again, on the same client, from the handler of `line`.
void ReconnectAt(FtpHarness& h, const std::string& line) {
  h.then = [&h, line](const std::string& now) {
    if (now == line) h.ftp.Connect();
  };
}

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

// Cancels the method when `line` has been written down for the `nth` time.
void CancelAt(FtpHarness& h, const std::string& line, long nth = 1) {
  h.then = [&h, line, nth](const std::string& now) {
    if (now == line && std::count(h.lines.begin(), h.lines.end(), line) == nth)
      h.ftp.CancelAsyncMethod();
  };
}

void Passive(FtpHarness& h) {
  h.ftp.SetPassiveMode(true);
}

// Its data, then (at the gates) the end of a transfer that sends `bytes`.
void SendAtGates(FakeFtpServer& s, const std::string& bytes) {
  s.Gate().SendData(bytes).CloseData().Gate().Reply("226 done");
}

// `line` and a pause, six times over: each shorter than a time-out of 2 s, all far longer.
void Trickle(FakeFtpServer& s, const std::function<void()>& line) {
  for (int i = 0; i < 6; ++i) line(), s.Pause(500);
}

// clang-format off
const Session kSessions[] = {
    {"Connect", true, [](FakeFtpServer& s) { s.Login(); }, nullptr, kLogin},
    {"LoginWithoutPassword", true,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER player").Reply("230 no password needed").Expect("PWD")
           .Reply("257 \"/\" is current");
     },
     [](FtpHarness& h, Dir&) { h.ftp.SetUserName("player"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER player", "<230 no password needed", "S5", "S13", ">PWD",
      "<257 \"/\" is current", "S0", "OnConnect(0)@0"}},
    {"GetCurrentDirectory", false, [](FakeFtpServer& s) { s.Expect("PWD").Reply("257 \"/www\" is current"); },
     [](FtpHarness& h, Dir&) { h.ftp.GetCurrentDirectory(); },
     {"S13", ">PWD", "<257 \"/www\" is current", "S0", "OnGetCurrentDirectory(0)@0"}},
    {"SetCurrentDirectory", false, [](FakeFtpServer& s) { s.Expect("CWD www").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("www"); },
     {"S6", ">CWD www", "<250 ok", "S0", "OnSetCurrentDirectory(0)@0"}},
    {"CreateDirectory", false, [](FakeFtpServer& s) { s.Expect("MKD d").Reply("257 \"/d\" made"); },
     [](FtpHarness& h, Dir&) { h.ftp.CreateDirectory("d"); },
     {"S9", ">MKD d", "<257 \"/d\" made", "S0", "OnCreateDirectory(0)@0"}},
    {"RemoveDirectory", false, [](FakeFtpServer& s) { s.Expect("RMD d").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.RemoveDirectory("d"); },
     {"S8", ">RMD d", "<250 ok", "S0", "OnRemoveDirectory(0)@0"}},
    {"RenameFile", false,
     [](FakeFtpServer& s) { s.Expect("RNFR a").Reply("350 go on").Expect("RNTO b").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.RenameFile("a", "b"); },
     {"S10", ">RNFR a", "<350 go on", ">RNTO b", "<250 ok", "S0", "OnRenameFile(0)@0"}},
    {"DeleteFile", false, [](FakeFtpServer& s) { s.Expect("DELE a").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.DeleteFile("a"); },
     {"S7", ">DELE a", "<250 ok", "S0", "OnDeleteFile(0)@0"}},
    {"QuitSession", false, [](FakeFtpServer& s) { s.Expect("QUIT").Reply("221 bye"); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "<221 bye", "S0", "OnQuitSession(0)@0"}},
    // The 227 names another host: the data connection goes to the control connection's peer
    // all the same (we listen on 127.0.0.1 only). The reply may come before the data's end.
    {"DownloadPassive", false,
     [](FakeFtpServer& s) {
       s.Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,2").AcceptData().Expect("RETR f").Reply("150 go")
           .Gate().SendData("hello").Gate().Reply("226 done").Gate().CloseData();
     },
     [](FtpHarness& h, Dir& dir) { Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 Entering Passive Mode (127,0,0,2,*", "S11", "S15",
      ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5", "<226 done"}, 0, "", "hello"},
    // In active mode a stranger comes to the PORT address first: it is neither heard nor sent to.
    {"ResumedDownloadActive", false,
     [](FakeFtpServer& s) {
       SendAtGates(s.Ok("TYPE I").Ok("PORT 127,0,0,1,").Expect("REST 3").Reply("350 ok").Expect("RETR f")
                       .StrangerAtPort("127.0.0.2", "forged").ConnectToPort().Reply("150 go"), "de");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/f", "abc"); h.ftp.DownloadFile("f", dir + "/f", false); },
     {"S15", ">TYPE I", "<200 ok", "S11", "S15", ">PORT 127,0,0,1,*", "<200 ok", "S15", ">REST 3", "<350 ok",
      "S15", ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5"}, 0, "", "abcde"},
    {"UploadPassive", false,
     [](FakeFtpServer& s) {
       s.PassiveData("I").Expect("STOR f").Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); Passive(h); h.ftp.UploadFile(dir + "/up", "f", 0); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">PASV", "<227 *", "S11", "S17", ">STOR f", "<150 go", "P5",
      "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, 0, "", "12345"},
    {"ResumedUploadActive", false,
     [](FakeFtpServer& s) {
       s.Ok("TYPE I").Expect("REST 2").Reply("350 ok").Ok("PORT").Expect("STOR f").StrangerAtPort("127.0.0.2", "")
           .ConnectToPort().Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); h.ftp.UploadFile(dir + "/up", "f", 2); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">REST 2", "<350 ok", "S11", "S17", ">PORT *", "<200 ok", "S17",
      ">STOR f", "<150 go", "P5", "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, 0, "", "345"},
    {"EnumFiles", false,
     [](FakeFtpServer& s) {
       SendAtGates(s.PassiveData("A").Expect("LIST").Reply("150 here"),
                   "-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a.txt\r\n");
     },
     [](FtpHarness& h, Dir&) { Passive(h); h.ftp.EnumFiles(); },
     {"S13", ">TYPE A", "<200 ok", "S13", ">PASV", "<227 *", "S11", "S13", ">LIST", "<150 here", "P44",
      "<226 done", "S0", "OnEnumFiles(0)@0"},
     {"<150 here", "P44"}},
    // A slow server is not a silent one: every piece that arrives, on either connection,
    // starts the time-out again.
    {"TrickledReply", false,
     [](FakeFtpServer& s) {
       Trickle(s.Expect("CWD slow"), [&s] { s.Raw("250-still looking\r\n"); });
       s.Reply("250 found");
     },
     [](FtpHarness& h, Dir&) { h.ftp.SetTimeOut(2); h.ftp.SetCurrentDirectory("slow"); },
     {"S6", ">CWD slow", "<250-still looking*", "S0", "OnSetCurrentDirectory(0)@0"}},
    {"TrickledDownload", false,
     [](FakeFtpServer& s) {
       Trickle(s.PassiveData("I").Expect("RETR f").Reply("150 go"), [&s] { s.SendData("x"); });
       s.CloseData().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { h.ftp.SetTimeOut(2); Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 *", "S11", "S15", ">RETR f", "<150 go", "P1", "P2", "P3",
      "P4", "P5", "P6", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {}, 0, "", "xxxxxx"},
    // ---- failures: state 0 before the completion; state 1 only when the server hangs up
    {"RefusedCommand", false, [](FakeFtpServer& s) { s.Expect("DELE a").Reply("550 No such file"); },
     [](FtpHarness& h, Dir&) { h.ftp.DeleteFile("a"); },
     {"S7", ">DELE a", "!550 No such file", "S0", "OnDeleteFile(1)@0"}, {}, 16550},
    {"RefusedLogin", true,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER").Reply("331 password please").Expect("PASS")
           .Reply("530 Login incorrect");
     },
     nullptr,
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<331 password please", "S4",
      ">PASS player@brikka.invalid", "!530 Login incorrect", "S0", "OnConnect(1)@0"},
     {}, 16530, "", "", true},
    {"HangUpDuringMethod", false, [](FakeFtpServer& s) { s.Expect("CWD x").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0", "S1"}, {}, 10054, "", "", true},
    {"HangUpWhileIdle", false, [](FakeFtpServer& s) { s.CloseControl(); }, nullptr, {"S1"},
     {}, 0, "", "", true},
    {"HangUpBeforeQuitIsAnswered", false, [](FakeFtpServer& s) { s.Expect("QUIT").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0", "OnQuitSession(0)@0", "S1"},
     {}, 0, "", "", true},
    {"ResetDuringMethod", false, [](FakeFtpServer& s) { s.Expect("CWD x").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0"}, {}, 10054, "", "", true},
    {"ResetDuringQuit", false, [](FakeFtpServer& s) { s.Expect("QUIT").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0"}, {}, 10054, "", "", true},
    {"ServiceClosingWhileIdle", false, [](FakeFtpServer& s) { s.Pause(50).Reply("421 Timeout"); },
     nullptr, {"!421 Timeout", "S0"}, {}, 0, "", "", true},
    {"SilentGreeting", true, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.SetTimeOut(1); CancelAt(h, "OnConnect(2)@3"); h.ftp.Connect(); },
     {"S2", "S3", "OnConnect(2)@3", "S0", "OnConnect(3)@0"}, {}, 0, "", "", true},
    // A restart marker is no answer to LIST: the listing fails instead of waiting on.
    {"RestartMarkerToList", false,
     [](FakeFtpServer& s) { s.PassiveData("A").Expect("LIST").Reply("110 MARK 0 = 0"); },
     [](FtpHarness& h, Dir&) { Passive(h); h.ftp.EnumFiles(); },
     {"S13", ">TYPE A", "<200 ok", "S13", ">PASV", "<227 *", "S11", "S13", ">LIST", "<110 MARK 0 = 0", "S0",
      "OnEnumFiles(1)@0"},
     {}, 16110},
    // The time-out stops nothing: it ticks again until the method is cancelled, then no more.
    {"TimeOutThenCancel", false, [](FakeFtpServer& s) { s.Expect("CWD slow"); },
     [](FtpHarness& h, Dir&) {
       h.ftp.SetTimeOut(1); CancelAt(h, "OnSetCurrentDirectory(2)@6", 2); h.ftp.SetCurrentDirectory("slow");
     },
     {"S6", ">CWD slow", "OnSetCurrentDirectory(2)@6", "OnSetCurrentDirectory(2)@6", "S0",
      "OnSetCurrentDirectory(3)@0"},
     {}, 0, "", "", false, 1500},
    // 421 ends whatever runs, wherever it comes.
    {"ServiceClosingAtGreeting", true, ServiceClosing, nullptr,
     {"S2", "S3", "!421 Service closing", "S0", "OnConnect(1)@0"}, {}, 16421, k421, "", true},
    {"ServiceClosingAtUser", true, [](FakeFtpServer& s) { ServiceClosing(s.Reply("220 hi").Expect("USER")); },
     nullptr,
     {"S2", "S3", "<220 hi", "S4", ">USER anonymous", "!421 Service closing", "S0", "OnConnect(1)@0"}, {}, 16421,
     k421, "", true},
    {"ServiceClosingAtCwd", false, [](FakeFtpServer& s) { ServiceClosing(s.Expect("CWD")); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "!421 Service closing", "S0", "OnSetCurrentDirectory(1)@0", "S1"}, {}, 16421, k421, "", true},
    {"ServiceClosingInATransfer", false,
     [](FakeFtpServer& s) {
       ServiceClosing(s.Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,1").Expect("RETR").Reply("150 go"));
     },
     [](FtpHarness& h, Dir& dir) { Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 *", "S11", "S15", ">RETR f", "<150 go",
      "!421 Service closing", "S0", "OnDownloadFile(1)@0", "S1"},
     {}, 16421, k421, "", true},
    {"GarbageThenHangUp", true, [](FakeFtpServer& s) { s.Raw("SSH-2.0-OpenSSH_9.2\r\n").CloseControl(); },
     nullptr, {"S2", "S3", "S0", "OnConnect(1)@0", "S1"}, {}, 10054, "", "",
     true},
    {"EndlessReply", true, [](FakeFtpServer& s) { s.Raw(kFlood); }, nullptr,
     {"S2", "S3", "S0", "OnConnect(1)@0"}, {}, 10040, "Message too long.", "", true},
    // A directory reply without quotes: during the login the connection is given up; later
    // only the method fails.
    {"UnquotedDirectoryAtLogin", true,
     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("230 ok").Expect("PWD").Reply("257 / is current"); },
     nullptr,
     {"S2", "S3", "<220 hi", "S4", ">USER anonymous", "<230 ok", "S5", "S13", ">PWD", "<257 / is current", "S0",
      "OnConnect(1)@0"},
     {}, 16001, kNoPath, "", true},
    {"UnquotedDirectoryLater", false, [](FakeFtpServer& s) { s.Expect("PWD").Reply("257 somewhere"); },
     [](FtpHarness& h, Dir&) { h.ftp.GetCurrentDirectory(); },
     {"S13", ">PWD", "<257 somewhere", "S0", "OnGetCurrentDirectory(1)@0"}, {}, 16001, kNoPath},
    {"UploadOfAMissingFile", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir& dir) { h.ftp.UploadFile(dir + "/nothere.ini", "scores.ini", 0); },
     {"S0", "OnUploadFile(1)@0"}, {}, 53, "nothere.ini"},
    // ---- handlers that connect again from the event that reports the failure
    {"ReconnectAfterHangUp", false, [](FakeFtpServer& s) { s.CloseControl().AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "S1"); }, Lines{"S1"} + kLogin},
    {"ReconnectAfterHangUpUnderAMethod", false,
     [](FakeFtpServer& s) { s.Expect("CWD x").CloseControl().AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "OnSetCurrentDirectory(1)@0"); h.ftp.SetCurrentDirectory("x"); },
     Lines{"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0"} + kLogin},
    {"ReconnectAfterRefusedLogin", true,
     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("530 go away").AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "OnConnect(1)@0"); h.ftp.Connect(); },
     Lines{"S2", "S3", "<220 hi", "S4", ">USER anonymous", "!530 go away", "S0", "OnConnect(1)@0"} + kLogin},
    {"CancelConnect", true, [](FakeFtpServer& s) { s.Reply("220 fake ready").Expect("USER"); },
     [](FtpHarness& h, Dir&) { CancelAt(h, ">USER anonymous"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "S0", "OnConnect(3)@0"}, {}, 0, "", "", true},
    {"CancelWithNothingRunning", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CancelAsyncMethod(); }, {"S0"}},
    {"CloseWhileIdle", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CloseControlConnection(); }, {"S0"}, {}, 0, "", "", true},
    {"ConnectWhileConnected", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) {
       try {
         h.ftp.Connect();
         ADD_FAILURE() << "a second Connect went through";
       } catch (const net::NetError& e) {
         EXPECT_EQ(e.Number, 10056);
         EXPECT_EQ(e.Description, "CFtpClient.Connect failed: Socket is already connected.");
       }
     },
     {}},
};
// clang-format on

class FtpEventOrderTest : public ::testing::TestWithParam<Session> {};

TEST_P(FtpEventOrderTest, FollowsTheSessionStepByStep) {
  const Session& session = GetParam();
  nettest::TempDir dir;
  FakeFtpServer server;
  if (!session.from_connect) server.Login();
  session.script(server);
  server.Start();
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  if (!session.from_connect) {
    ASSERT_EQ(h.Login(server.port()), 0);
    h.lines.clear();
  }
  size_t gate = 0;
  h.then = [&](const std::string& line) {
    if (gate < session.gates.size() && line == session.gates[gate]) {
      ++gate;
      server.OpenGate();
    }
  };
  if (session.act) {
    session.act(h, dir.path());
  } else if (session.from_connect) {
    h.ftp.Connect();
  }
  nettest::RunUntil(h.loop, [&] { return h.lines.size() >= session.expected.size(); });
  h.loop.RunFor(session.quiet_ms);  // anything that should not come would come now
  ExpectSequence(session.expected, h.lines);
  EXPECT_EQ(h.ftp.FtpSessionState(), h.states.empty() ? 0 : h.states.back());
  EXPECT_EQ(h.ftp.LastFtpError().Number, session.error);
  EXPECT_NE(h.ftp.LastFtpError().Description.find(session.says), std::string::npos);
  if (session.error > 16000) {
    EXPECT_EQ(h.ftp.LastFtpError().Source, "NetXferLib.CFtpClient");
  }
  if (session.closed) {
    EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // 16008
  }
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(nettest::ReadFile(dir / "f") + server.Seen().data_received, session.moved);
  EXPECT_EQ(server.Seen().stranger_received, "");
  for (const std::string& name : nettest::ListFolder(dir.path())) {  // no half-received file
    EXPECT_TRUE(name == "f" || name == "up") << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, FtpEventOrderTest, ::testing::ValuesIn(kSessions),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- handlers that act ---------------------------------------------------------------------

// What the highscore exchange does, each step started from the event of the one before:
// log in, list, change to "www", read it back, list, fetch the table.
void ScriptExchange(FakeFtpServer& s) {
  auto list = [&s] {
    s.PassiveData("A").Expect("LIST").Reply("150 here");
    s.SendData("-rw-r--r-- 1 ftp ftp 9 Jan 12 12:34 table.ini\r\n").CloseData().Reply("226 done");
  };
  s.Login();
  list();
  s.Expect("CWD www").Reply("250 ok").Expect("PWD").Reply("257 \"/www\" is current");
  list();
  s.PassiveData("I").Expect("RETR table.ini").Reply("150 go");
  s.SendData("[scores]\r\n").CloseData().Reply("226 done");
}

// Wires the exchange's steps onto a client that the last step (or `destroy_at`, the number
// of the event at which to do it) destroys, as the window does when it unloads.
struct Exchange {
  Exchange(platform::NetLoop& loop, uint16_t port, const std::string& target, size_t destroy_at)
      : ftp(std::make_unique<net::CFtpClient>(loop)) {
    log.Attach(*ftp);
    log.then = [this, destroy_at](const std::string&) {
      if (log.lines.size() == destroy_at) ftp.reset();
    };
    auto chain = [this](std::function<void(int32_t)>& event, std::function<void()> next) {
      event = [this, record = event, next](int32_t status) {
        record(status);
        if (ftp && status == 0) next();
      };
    };
    chain(ftp->OnConnect, [this] { ftp->EnumFiles(); });
    chain(ftp->OnEnumFiles, [this, target] {
      if (lists_++ == 0) return ftp->SetCurrentDirectory("www");
      ftp->DownloadFile("table.ini", target, true);
    });
    chain(ftp->OnSetCurrentDirectory, [this] { ftp->GetCurrentDirectory(); });
    chain(ftp->OnGetCurrentDirectory, [this] { ftp->EnumFiles(); });
    chain(ftp->OnDownloadFile, [this] { ftp.reset(); });
    ftp->SetPassiveMode(true);
    ftp->SetFtpServer("127.0.0.1");
    ftp->SetRemotePort(port);
    ftp->Connect();
  }
  nettest::EventLog log;
  std::unique_ptr<net::CFtpClient> ftp;
  int lists_ = 0;
};

// Runs the exchange against a fresh server; returns the events seen (the client is gone by
// then: the last step, or event number `destroy_at`, destroyed it).
size_t RunExchange(size_t destroy_at) {
  nettest::TempDir dir;
  FakeFtpServer server;
  ScriptExchange(server);
  server.Start();
  platform::NetLoop loop;
  Exchange exchange(loop, server.port(), dir / "table.ini", destroy_at);
  EXPECT_TRUE(nettest::RunUntil(loop, [&] { return exchange.ftp == nullptr; }))
      << Show(exchange.log.lines);
  const size_t seen = exchange.log.lines.size();
  loop.RunFor(20);  // whatever was still queued for the client finds it gone
  EXPECT_EQ(exchange.log.lines.size(), seen);
  if (destroy_at == 0) {
    EXPECT_EQ(nettest::ReadFile(dir / "table.ini"), "[scores]\r\n");
    EXPECT_EQ(exchange.log.lines.back(), "OnDownloadFile(0)@0");
    EXPECT_EQ(server.Finish(), "");
  }
  // No half-received file is left behind.
  for (const std::string& name : nettest::ListFolder(dir.path())) EXPECT_EQ(name, "table.ini");
  return seen;
}

// The window may unload at any moment, so the client may go from inside any of its events:
// nothing of it may be touched afterwards (the sanitizer build checks that) and nothing more
// is reported. The whole exchange, run first, is driven from completion events.
TEST(FtpHandlersTest, ClientMayBeDestroyedFromEveryEvent) {
  const size_t events = RunExchange(0);
  EXPECT_GT(events, 40u);
  for (size_t at = 1; at <= events; ++at) {
    SCOPED_TRACE("destroyed at event " + std::to_string(at));
    EXPECT_EQ(RunExchange(at), at);
  }
}

}  // namespace
