// The order of CFtpClient's events. Every event of a whole session of each method is written
// down with the session state at that moment and compared, step by step, with the order the
// client promises: a command's state comes as it is sent, a method ends with state 0 before
// its completion event, and only the server's hang-up reports state 1. Failures are sessions
// too, with the error they leave, and so are broken downloads over a copy we keep, handlers
// that reconnect from the event that reports a failure, and sessions run again destroying
// the client from each of their events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;
using Lines = std::vector<std::string>;
using Dir = const std::string;

// Each step must match; an expected line ending in '*', any line that begins so.
void ExpectSequence(const Lines& expected, const Lines& got) {
  std::vector<::testing::Matcher<std::string>> steps;
  for (const std::string& e : expected) {
    if (e.ends_with('*')) {
      steps.push_back(::testing::StartsWith(e.substr(0, e.size() - 1)));
    } else {
      steps.push_back(e);
    }
  }
  EXPECT_THAT(got, ::testing::ElementsAreArray(steps));
}

// How a session starts, and whether it is run again destroying the client from each event.
enum How { kLoggedIn = 0, kConnect = 1, kDestroy = 2 };

struct Session {
  const char* name;
  int how;  // How: from Connect or after a login; kDestroy: again destroying the client
  std::function<void(FakeFtpServer&)> script;
  std::function<void(FtpHarness&, Dir& dir)> act;  // null: Connect for kConnect, else nothing
  Lines expected;
  Lines gates = {};       // lines on which the server's next gate opens
  int error = 0;          // LastFtpError().Number at the first failure or afterwards ...
  const char* says = "";  // ... and a part of its description
  // What a transfer moved: our "f" after a download, what the server got from an upload.
  const char* moved = "";
  bool closed = false;  // the connection is gone afterwards
  int quiet_ms = 100;   // for how long after the last line nothing more may come
};

void PrintTo(const Session& session, std::ostream* os) {
  *os << session.name;
}

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

// Acts on each line written down, after what was hooked there already, while the client lives.
void After(FtpHarness& h, std::function<void(const std::string&)> act) {
  h.then = [&h, act, before = h.then](const std::string& line) {
    if (before) before(line);
    if (h.client) act(line);
  };
}

// Connects again, on the same client, from the handler of `line`.
void ReconnectAt(FtpHarness& h, const std::string& line) {
  After(h, [&h, line](const std::string& now) {
    if (now == line) h.ftp.Connect();
  });
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
  After(h, [&h, line, nth](const std::string& now) {
    if (now == line && std::count(h.lines.begin(), h.lines.end(), line) == nth)
      h.ftp.CancelAsyncMethod();
  });
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

// A broken download: passive, of "f" over our copy "old table", which must stay as it was with
// no temporary file left. Where the server is still there, PWD and CWD, asked from the
// completion events, must get their own answers, never a late one of the download.
FakeFtpServer& Retr(FakeFtpServer& s) {
  return s.PassiveData("I").Expect("RETR f").Reply("150 go");
}
void Resync(FakeFtpServer& s) {
  s.Expect("PWD").Reply("257 \"/home\" is current").Expect("CWD www").Reply("250 ok");
}
void DownloadOverOurs(FtpHarness& h, Dir& dir, int16_t timeout, bool resync) {
  nettest::WriteFile(dir + "/f", "old table");
  h.ftp.SetTimeOut(timeout);
  Passive(h);
  if (resync) {
    After(h, [&h](const std::string& line) {
      if (line.rfind("OnDownloadFile(", 0) == 0) h.ftp.GetCurrentDirectory();
      if (line == "OnGetCurrentDirectory(0)@0") h.ftp.SetCurrentDirectory("www");
    });
  }
  h.ftp.DownloadFile("f", dir + "/f", true);
}
// clang-format off
const Lines kRetr = {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 *", "S11", "S15", ">RETR f", "<150 go"};
const Lines kResynced = {"S13", ">PWD", "<257 \"/home\" is current", "S0", "OnGetCurrentDirectory(0)@0", "S6",
                         ">CWD www", "<250 ok", "S0", "OnSetCurrentDirectory(0)@0"};

const Session kSessions[] = {
    {"Connect", kConnect | kDestroy, [](FakeFtpServer& s) { s.Login(); }, nullptr, kLogin},
    {"LoginWithoutPassword", kConnect,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER player").Reply("230 no password needed").Expect("PWD")
           .Reply("257 \"/\" is current");
     },
     [](FtpHarness& h, Dir&) { h.ftp.SetUserName("player"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER player", "<230 no password needed", "S5", "S13", ">PWD",
      "<257 \"/\" is current", "S0", "OnConnect(0)@0"}},
    {"GetCurrentDirectory", kLoggedIn, [](FakeFtpServer& s) { s.Expect("PWD").Reply("257 \"/www\" is current"); },
     [](FtpHarness& h, Dir&) { h.ftp.GetCurrentDirectory(); },
     {"S13", ">PWD", "<257 \"/www\" is current", "S0", "OnGetCurrentDirectory(0)@0"}},
    {"SetCurrentDirectory", kLoggedIn, [](FakeFtpServer& s) { s.Expect("CWD www").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("www"); },
     {"S6", ">CWD www", "<250 ok", "S0", "OnSetCurrentDirectory(0)@0"}},
    {"CreateDirectory", kLoggedIn, [](FakeFtpServer& s) { s.Expect("MKD d").Reply("257 \"/d\" made"); },
     [](FtpHarness& h, Dir&) { h.ftp.CreateDirectory("d"); },
     {"S9", ">MKD d", "<257 \"/d\" made", "S0", "OnCreateDirectory(0)@0"}},
    {"RemoveDirectory", kLoggedIn, [](FakeFtpServer& s) { s.Expect("RMD d").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.RemoveDirectory("d"); },
     {"S8", ">RMD d", "<250 ok", "S0", "OnRemoveDirectory(0)@0"}},
    {"RenameFile", kLoggedIn,
     [](FakeFtpServer& s) { s.Expect("RNFR a").Reply("350 go on").Expect("RNTO b").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.RenameFile("a", "b"); },
     {"S10", ">RNFR a", "<350 go on", ">RNTO b", "<250 ok", "S0", "OnRenameFile(0)@0"}},
    {"DeleteFile", kLoggedIn, [](FakeFtpServer& s) { s.Expect("DELE a").Reply("250 ok"); },
     [](FtpHarness& h, Dir&) { h.ftp.DeleteFile("a"); },
     {"S7", ">DELE a", "<250 ok", "S0", "OnDeleteFile(0)@0"}},
    {"QuitSession", kLoggedIn, [](FakeFtpServer& s) { s.Expect("QUIT").Reply("221 bye"); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "<221 bye", "S0", "OnQuitSession(0)@0"}},
    // The 227 names another host: the data connection goes to the control connection's peer
    // all the same (we listen on 127.0.0.1 only). The reply may come before the data's end.
    {"DownloadPassive", kLoggedIn | kDestroy,
     [](FakeFtpServer& s) {
       s.Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,2").AcceptData().Expect("RETR f").Reply("150 go")
           .Gate().SendData("hello").Gate().Reply("226 done").Gate().CloseData();
     },
     [](FtpHarness& h, Dir& dir) { Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 Entering Passive Mode (127,0,0,2,*", "S11", "S15",
      ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5", "<226 done"}, 0, "", "hello"},
    // In active mode a stranger comes to the PORT address first: it is neither heard nor sent to.
    {"ResumedDownloadActive", kLoggedIn,
     [](FakeFtpServer& s) {
       SendAtGates(s.Ok("TYPE I").Ok("PORT 127,0,0,1,").Expect("REST 3").Reply("350 ok").Expect("RETR f")
                       .StrangerAtPort("127.0.0.2", "forged").ConnectToPort().Reply("150 go"), "de");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/f", "abc"); h.ftp.DownloadFile("f", dir + "/f", false); },
     {"S15", ">TYPE I", "<200 ok", "S11", "S15", ">PORT 127,0,0,1,*", "<200 ok", "S15", ">REST 3", "<350 ok",
      "S15", ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5"}, 0, "", "abcde"},
    {"UploadPassive", kLoggedIn | kDestroy,
     [](FakeFtpServer& s) {
       s.PassiveData("I").Expect("STOR f").Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); Passive(h); h.ftp.UploadFile(dir + "/up", "f", 0); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">PASV", "<227 *", "S11", "S17", ">STOR f", "<150 go", "P5",
      "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, 0, "", "12345"},
    {"ResumedUploadActive", kLoggedIn,
     [](FakeFtpServer& s) {
       s.Ok("TYPE I").Expect("REST 2").Reply("350 ok").Ok("PORT").Expect("STOR f").StrangerAtPort("127.0.0.2", "")
           .ConnectToPort().Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); h.ftp.UploadFile(dir + "/up", "f", 2); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">REST 2", "<350 ok", "S11", "S17", ">PORT *", "<200 ok", "S17",
      ">STOR f", "<150 go", "P5", "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, 0, "", "345"},
    {"EnumFiles", kLoggedIn | kDestroy,
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
    {"TrickledReply", kLoggedIn,
     [](FakeFtpServer& s) {
       Trickle(s.Expect("CWD slow"), [&s] { s.Raw("250-still looking\r\n"); });
       s.Reply("250 found");
     },
     [](FtpHarness& h, Dir&) { h.ftp.SetTimeOut(2); h.ftp.SetCurrentDirectory("slow"); },
     {"S6", ">CWD slow", "<250-still looking*", "S0", "OnSetCurrentDirectory(0)@0"}},
    {"TrickledDownload", kLoggedIn,
     [](FakeFtpServer& s) {
       Trickle(s.PassiveData("I").Expect("RETR f").Reply("150 go"), [&s] { s.SendData("x"); });
       s.CloseData().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { h.ftp.SetTimeOut(2); Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 *", "S11", "S15", ">RETR f", "<150 go", "P1", "P2", "P3",
      "P4", "P5", "P6", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {}, 0, "", "xxxxxx"},
    // ---- failures: state 0 before the completion; state 1 only when the server hangs up
    {"RefusedCommand", kLoggedIn, [](FakeFtpServer& s) { s.Expect("DELE a").Reply("550 No such file"); },
     [](FtpHarness& h, Dir&) { h.ftp.DeleteFile("a"); },
     {"S7", ">DELE a", "!550 No such file", "S0", "OnDeleteFile(1)@0"}, {}, 16550},
    {"RefusedLogin", kConnect,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER").Reply("331 password please").Expect("PASS")
           .Reply("530 Login incorrect");
     },
     nullptr,
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<331 password please", "S4",
      ">PASS player@brikka.invalid", "!530 Login incorrect", "S0", "OnConnect(1)@0"},
     {}, 16530, "", "", true},
    {"HangUpDuringMethod", kLoggedIn | kDestroy, [](FakeFtpServer& s) { s.Expect("CWD x").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0", "S1"}, {}, 10054, "", "", true},
    {"HangUpWhileIdle", kLoggedIn, [](FakeFtpServer& s) { s.CloseControl(); }, nullptr, {"S1"},
     {}, 0, "", "", true},
    {"HangUpBeforeQuitIsAnswered", kLoggedIn, [](FakeFtpServer& s) { s.Expect("QUIT").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0", "OnQuitSession(0)@0", "S1"},
     {}, 0, "", "", true},
    {"ResetDuringMethod", kLoggedIn, [](FakeFtpServer& s) { s.Expect("CWD x").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0"}, {}, 10054, "", "", true},
    {"ResetDuringQuit", kLoggedIn, [](FakeFtpServer& s) { s.Expect("QUIT").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0"}, {}, 10054, "", "", true},
    {"ServiceClosingWhileIdle", kLoggedIn, [](FakeFtpServer& s) { s.Pause(50).Reply("421 Timeout"); },
     nullptr, {"!421 Timeout", "S0"}, {}, 0, "", "", true},
    {"SilentGreeting", kConnect, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.SetTimeOut(1); CancelAt(h, "OnConnect(2)@3"); h.ftp.Connect(); },
     {"S2", "S3", "OnConnect(2)@3", "S0", "OnConnect(3)@0"}, {}, 0, "", "", true},
    // A restart marker is no answer to LIST: the listing fails instead of waiting on.
    {"RestartMarkerToList", kLoggedIn,
     [](FakeFtpServer& s) { s.PassiveData("A").Expect("LIST").Reply("110 MARK 0 = 0"); },
     [](FtpHarness& h, Dir&) { Passive(h); h.ftp.EnumFiles(); },
     {"S13", ">TYPE A", "<200 ok", "S13", ">PASV", "<227 *", "S11", "S13", ">LIST", "<110 MARK 0 = 0", "S0",
      "OnEnumFiles(1)@0"},
     {}, 16110},
    // The time-out stops nothing: it ticks again until the method is cancelled, then no more.
    {"TimeOutThenCancel", kLoggedIn, [](FakeFtpServer& s) { s.Expect("CWD slow"); },
     [](FtpHarness& h, Dir&) {
       h.ftp.SetTimeOut(1); CancelAt(h, "OnSetCurrentDirectory(2)@6", 2); h.ftp.SetCurrentDirectory("slow");
     },
     {"S6", ">CWD slow", "OnSetCurrentDirectory(2)@6", "OnSetCurrentDirectory(2)@6", "S0",
      "OnSetCurrentDirectory(3)@0"},
     {}, 0, "", "", false, 1500},
    // 421 ends whatever runs, wherever it comes.
    {"ServiceClosingAtGreeting", kConnect, ServiceClosing, nullptr,
     {"S2", "S3", "!421 Service closing", "S0", "OnConnect(1)@0"}, {}, 16421, k421, "", true},
    {"ServiceClosingAtUser", kConnect, [](FakeFtpServer& s) { ServiceClosing(s.Reply("220 hi").Expect("USER")); },
     nullptr,
     {"S2", "S3", "<220 hi", "S4", ">USER anonymous", "!421 Service closing", "S0", "OnConnect(1)@0"}, {}, 16421,
     k421, "", true},
    {"ServiceClosingAtCwd", kLoggedIn, [](FakeFtpServer& s) { ServiceClosing(s.Expect("CWD")); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "!421 Service closing", "S0", "OnSetCurrentDirectory(1)@0", "S1"}, {}, 16421, k421, "", true},
    {"ServiceClosingInATransfer", kLoggedIn,
     [](FakeFtpServer& s) {
       ServiceClosing(s.Ok("TYPE I").Expect("PASV").PassiveReply("127,0,0,1").Expect("RETR").Reply("150 go"));
     },
     [](FtpHarness& h, Dir& dir) { Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 *", "S11", "S15", ">RETR f", "<150 go",
      "!421 Service closing", "S0", "OnDownloadFile(1)@0", "S1"},
     {}, 16421, k421, "", true},
    {"GarbageThenHangUp", kConnect, [](FakeFtpServer& s) { s.Raw("SSH-2.0-OpenSSH_9.2\r\n").CloseControl(); },
     nullptr, {"S2", "S3", "S0", "OnConnect(1)@0", "S1"}, {}, 10054, "", "",
     true},
    {"EndlessReply", kConnect, [](FakeFtpServer& s) { s.Raw(kFlood); }, nullptr,
     {"S2", "S3", "S0", "OnConnect(1)@0"}, {}, 10040, "Message too long.", "", true},
    // A directory reply without quotes: during the login the connection is given up; later
    // only the method fails.
    {"UnquotedDirectoryAtLogin", kConnect,
     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("230 ok").Expect("PWD").Reply("257 / is current"); },
     nullptr,
     {"S2", "S3", "<220 hi", "S4", ">USER anonymous", "<230 ok", "S5", "S13", ">PWD", "<257 / is current", "S0",
      "OnConnect(1)@0"},
     {}, 16001, kNoPath, "", true},
    {"UnquotedDirectoryLater", kLoggedIn, [](FakeFtpServer& s) { s.Expect("PWD").Reply("257 somewhere"); },
     [](FtpHarness& h, Dir&) { h.ftp.GetCurrentDirectory(); },
     {"S13", ">PWD", "<257 somewhere", "S0", "OnGetCurrentDirectory(1)@0"}, {}, 16001, kNoPath},
    {"UploadOfAMissingFile", kLoggedIn, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir& dir) { h.ftp.UploadFile(dir + "/nothere.ini", "scores.ini", 0); },
     {"S0", "OnUploadFile(1)@0"}, {}, 53, "nothere.ini"},
    // ---- downloads that break
    {"DownloadAborted", kLoggedIn,
     [](FakeFtpServer& s) { Resync(Retr(s).SendData("half of the new t").Gate().CloseData().Reply("426 aborted")); },
     [](FtpHarness& h, Dir& dir) { DownloadOverOurs(h, dir, 10, true); },
     kRetr + Lines{"P17", "!426 aborted", "S0", "OnDownloadFile(1)@0"} + kResynced, {"P17"}, 16426, "", "old table"},
    {"DownloadServerGone", kLoggedIn,
     [](FakeFtpServer& s) { Retr(s).SendData("half of the new t").Gate().CloseData().CloseControl(); },
     [](FtpHarness& h, Dir& dir) { DownloadOverOurs(h, dir, 10, false); },
     kRetr + Lines{"P17", "S0", "OnDownloadFile(1)@0", "S1"}, {"P17"}, 10054, "", "old table", true},
    {"DownloadStalled", kLoggedIn, [](FakeFtpServer& s) { Retr(s).SendData("half of the new t"); },
     [](FtpHarness& h, Dir& dir) { CancelAt(h, "OnDownloadFile(2)@15"); DownloadOverOurs(h, dir, 1, false); },
     kRetr + Lines{"P17", "OnDownloadFile(2)@15", "S0", "OnDownloadFile(3)@0"}, {}, 0, "", "old table"},
    // The server's code is what the method reports, whichever comes first.
    {"DownloadResetThenRefusal", kLoggedIn | kDestroy,
     [](FakeFtpServer& s) { Resync(Retr(s).SendData("half").Gate().ResetData().Pause(100).Reply("550 gone")); },
     [](FtpHarness& h, Dir& dir) { DownloadOverOurs(h, dir, 10, true); },
     kRetr + Lines{"P4", "!550 gone", "S0", "OnDownloadFile(1)@0"} + kResynced, {"P4"}, 16550, "", "old table"},
    {"DownloadRefusalThenReset", kLoggedIn,
     [](FakeFtpServer& s) { Resync(Retr(s).Reply("550 gone").Pause(100).ResetData()); },
     [](FtpHarness& h, Dir& dir) { DownloadOverOurs(h, dir, 10, true); },
     kRetr + Lines{"!550 gone", "S0", "OnDownloadFile(1)@0"} + kResynced, {}, 16550, "", "old table"},
    // No word at all: after the time-out the reset is the reason; the server, asked NOOP,
    // shows it owes nothing more.
    {"DownloadResetAndNoReply", kLoggedIn,
     [](FakeFtpServer& s) { Resync(Retr(s).ResetData().Expect("NOOP").Reply("200 NOOP ok")); },
     [](FtpHarness& h, Dir& dir) { DownloadOverOurs(h, dir, 1, true); },
     kRetr + Lines{"S0", "OnDownloadFile(1)@0", ">NOOP", "<200 NOOP ok"} + kResynced, {}, 10054, "", "old table"},
    // The answer to the cancelled download comes after the next command has been asked.
    {"DownloadCancelledThenLateReply", kLoggedIn,
     [](FakeFtpServer& s) { Resync(Retr(s).SendData("half").Gate().Expect("NOOP").Reply("226 done").Reply("200 NOOP ok")); },
     [](FtpHarness& h, Dir& dir) { CancelAt(h, "P4"); DownloadOverOurs(h, dir, 10, true); },
     kRetr + Lines{"P4", "S0", "OnDownloadFile(3)@0", ">NOOP", "<226 done", "<200 NOOP ok"} + kResynced, {"OnDownloadFile(3)@0"}, 0, "", "old table"},
    // ---- handlers that connect again from the event that reports the failure
    {"ReconnectAfterHangUp", kLoggedIn, [](FakeFtpServer& s) { s.CloseControl().AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "S1"); }, Lines{"S1"} + kLogin},
    {"ReconnectAfterHangUpUnderAMethod", kLoggedIn,
     [](FakeFtpServer& s) { s.Expect("CWD x").CloseControl().AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "OnSetCurrentDirectory(1)@0"); h.ftp.SetCurrentDirectory("x"); },
     Lines{"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0"} + kLogin, {}, 10054},
    {"ReconnectAfterRefusedLogin", kConnect,
     [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("530 go away").AcceptControl().Login(); },
     [](FtpHarness& h, Dir&) { ReconnectAt(h, "OnConnect(1)@0"); h.ftp.Connect(); },
     Lines{"S2", "S3", "<220 hi", "S4", ">USER anonymous", "!530 go away", "S0", "OnConnect(1)@0"} + kLogin, {},
     16530},
    {"CancelConnect", kConnect, [](FakeFtpServer& s) { s.Reply("220 fake ready").Expect("USER"); },
     [](FtpHarness& h, Dir&) { CancelAt(h, ">USER anonymous"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "S0", "OnConnect(3)@0"}, {}, 0, "", "", true},
    {"CancelWithNothingRunning", kLoggedIn, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CancelAsyncMethod(); }, {"S0"}},
    {"CloseWhileIdle", kLoggedIn, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CloseControlConnection(); }, {"S0"}, {}, 0, "", "", true},
    {"ConnectWhileConnected", kLoggedIn, [](FakeFtpServer&) {},
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

// Plays the session; when `destroy_at` is not 0, the handler of event number `destroy_at`
// destroys the client, after which nothing more may be reported and no half-received file
// may stay. Returns the number of events seen.
size_t Play(const Session& session, size_t destroy_at) {
  nettest::TempDir dir;
  FakeFtpServer server;
  if (!(session.how & kConnect)) server.Login();
  session.script(server);
  server.Start();
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  if (!(session.how & kConnect)) {
    EXPECT_EQ(h.Login(server.port()), 0);
    h.lines.clear();
  }
  size_t gate = 0;
  std::optional<net::CFtpError> failure;  // as the first failure left it
  h.then = [&](const std::string& line) {
    if (gate < session.gates.size() && line == session.gates[gate]) {
      ++gate;
      server.OpenGate();
    }
    if (!failure && line.find("(1)@") != std::string::npos) failure = h.ftp.LastFtpError();
    if (h.lines.size() == destroy_at) h.client.reset();
  };
  if (session.act) {
    session.act(h, dir.str());
  } else if (session.how & kConnect) {
    h.ftp.Connect();
  }
  nettest::RunUntil(h.loop, [&] { return !h.client || h.lines.size() >= session.expected.size(); });
  h.loop.RunFor(session.quiet_ms);  // anything that should not come would come now
  for (const std::string& name : nettest::ListFolder(dir.str())) {
    EXPECT_TRUE(name == "f" || name == "up") << name;
  }
  if (destroy_at) return h.lines.size();
  ExpectSequence(session.expected, h.lines);
  const Lines states = h.Of('S');
  EXPECT_EQ(h.ftp.FtpSessionState(), states.empty() ? 0 : std::stoi(states.back()));
  if (!failure) failure = h.ftp.LastFtpError();
  EXPECT_EQ(failure->Number, session.error);
  EXPECT_NE(failure->Description.find(session.says), std::string::npos);
  if (session.error > 16000) {
    EXPECT_EQ(failure->Source, "NetXferLib.CFtpClient");
  }
  if (session.closed) {
    EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // 16008
  }
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(nettest::ReadFile(dir.file("f")) + server.Seen().data_received, session.moved);
  EXPECT_EQ(server.Seen().stranger_received, "");
  return h.lines.size();
}

class FtpEventOrderTest : public ::testing::TestWithParam<Session> {};

// The window may unload at any moment, so the client may go from inside any of its events:
// nothing of it may be touched afterwards (the sanitizer build checks that).
TEST_P(FtpEventOrderTest, FollowsTheSessionStepByStep) {
  const size_t events = Play(GetParam(), 0);
  for (size_t at = 1; GetParam().how & kDestroy && at <= events; ++at) {
    SCOPED_TRACE("destroyed at event " + std::to_string(at));
    EXPECT_EQ(Play(GetParam(), at), at);
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, FtpEventOrderTest, ::testing::ValuesIn(kSessions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
