// The order of CFtpClient's events. Every event of a whole session of each method is written
// down with the session state at that moment and compared, step by step, with the order the
// client promises: a command's state comes as it is sent, a method ends with state 0 before
// its completion event, and only the server's hang-up reports state 1. Then handlers that
// act: a whole session driven from completion events, reconnecting from OnStateChange(1) and
// OnConnect(1), and destroying the client from every event of a session.
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
  std::function<void(FtpHarness&, Dir& dir)> act;
  Lines expected;
  Lines gates = {};  // lines on which the server's next gate opens
  std::function<void(FtpHarness&, FakeFtpServer&, Dir& dir)> check = nullptr;
};

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

// clang-format off
const Session kSessions[] = {
    {"Connect", true, [](FakeFtpServer& s) { s.Login(); }, [](FtpHarness& h, Dir&) { h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<331 password please", "S4",
      ">PASS player@brikka.invalid", "<230 logged in", "S5", "S13", ">PWD", "<257 \"/\" is current", "S0",
      "OnConnect(0)@0"}},
    {"LoginWithoutPassword", true,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER player").Reply("230 no password needed").Expect("PWD")
           .Reply("257 \"C:\\games\\brikka\" is current");
     },
     [](FtpHarness& h, Dir&) { h.ftp.SetUserName("player"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER player", "<230 no password needed", "S5", "S13", ">PWD",
      "<257 \"C:\\games\\brikka\" is current", "S0", "OnConnect(0)@0"},
     {}, [](FtpHarness& h, FakeFtpServer&, Dir&) { EXPECT_EQ(h.ftp.CurrentDirectory(), "C:/games/brikka"); }},
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
    {"DownloadPassive", false,
     [](FakeFtpServer& s) { SendAtGates(s.PassiveData("I").Expect("RETR f").Reply("150 go"), "hello"); },
     [](FtpHarness& h, Dir& dir) { Passive(h); h.ftp.DownloadFile("f", dir + "/f", true); },
     {"S15", ">TYPE I", "<200 ok", "S15", ">PASV", "<227 Entering Passive Mode (127,0,0,1,*", "S11", "S15",
      ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5"},
     [](FtpHarness&, FakeFtpServer&, Dir& dir) { EXPECT_EQ(nettest::ReadFile(dir + "/f"), "hello"); }},
    {"ResumedDownloadActive", false,
     [](FakeFtpServer& s) {
       SendAtGates(s.Ok("TYPE I").Ok("PORT 127,0,0,1,").Expect("REST 3").Reply("350 ok").Expect("RETR f")
                       .ConnectToPort().Reply("150 go"), "de");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/f", "abc"); h.ftp.DownloadFile("f", dir + "/f", false); },
     {"S15", ">TYPE I", "<200 ok", "S11", "S15", ">PORT 127,0,0,1,*", "<200 ok", "S15", ">REST 3", "<350 ok",
      "S15", ">RETR f", "<150 go", "P5", "<226 done", "S0", "OnDownloadFile(0)@0"},
     {"<150 go", "P5"},
     [](FtpHarness&, FakeFtpServer&, Dir& dir) { EXPECT_EQ(nettest::ReadFile(dir + "/f"), "abcde"); }},
    {"UploadPassive", false,
     [](FakeFtpServer& s) {
       s.PassiveData("I").Expect("STOR f").Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); Passive(h); h.ftp.UploadFile(dir + "/up", "f", 0); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">PASV", "<227 *", "S11", "S17", ">STOR f", "<150 go", "P5",
      "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, [](FtpHarness&, FakeFtpServer& s, Dir&) { EXPECT_EQ(s.Seen().data_received, "12345"); }},
    {"ResumedUploadActive", false,
     [](FakeFtpServer& s) {
       s.Ok("TYPE I").Expect("REST 2").Reply("350 ok").Ok("PORT").Expect("STOR f").ConnectToPort()
           .Reply("150 go").ReadDataUntilClosed().Reply("226 done");
     },
     [](FtpHarness& h, Dir& dir) { nettest::WriteFile(dir + "/up", "12345"); h.ftp.UploadFile(dir + "/up", "f", 2); },
     {"S17", ">TYPE I", "<200 ok", "S17", ">REST 2", "<350 ok", "S11", "S17", ">PORT *", "<200 ok", "S17",
      ">STOR f", "<150 go", "P5", "<226 done", "S0", "OnUploadFile(0)@0"},
     {}, [](FtpHarness&, FakeFtpServer& s, Dir&) { EXPECT_EQ(s.Seen().data_received, "345"); }},
    {"EnumFiles", false,
     [](FakeFtpServer& s) {
       SendAtGates(s.PassiveData("A").Expect("LIST").Reply("150 here"),
                   "-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a.txt\r\n");
     },
     [](FtpHarness& h, Dir&) { Passive(h); h.ftp.EnumFiles(); },
     {"S13", ">TYPE A", "<200 ok", "S13", ">PASV", "<227 *", "S11", "S13", ">LIST", "<150 here", "P44",
      "<226 done", "S0", "OnEnumFiles(0)@0"},
     {"<150 here", "P44"},
     [](FtpHarness& h, FakeFtpServer&, Dir&) { EXPECT_EQ(h.ftp.CurrentDirectoryFiles().Count(), 1u); }},
    // ---- failures: state 0 before the completion; state 1 only when the server hangs up
    {"RefusedCommand", false, [](FakeFtpServer& s) { s.Expect("DELE a").Reply("550 No such file"); },
     [](FtpHarness& h, Dir&) { h.ftp.DeleteFile("a"); },
     {"S7", ">DELE a", "!550 No such file", "S0", "OnDeleteFile(1)@0"},
     {},
     [](FtpHarness& h, FakeFtpServer&, Dir&) {
       EXPECT_EQ(h.ftp.LastFtpError().Number, 16550);
       EXPECT_EQ(h.ftp.LastFtpError().Description, "Requested action not taken.");
       EXPECT_EQ(h.ftp.LastFtpError().Source, "NetXferLib.CFtpClient");
     }},
    {"RefusedLogin", true,
     [](FakeFtpServer& s) {
       s.Reply("220 fake ready").Expect("USER").Reply("331 password please").Expect("PASS")
           .Reply("530 Login incorrect");
     },
     [](FtpHarness& h, Dir&) { h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<331 password please", "S4",
      ">PASS player@brikka.invalid", "!530 Login incorrect", "S0", "OnConnect(1)@0"},
     {},
     [](FtpHarness& h, FakeFtpServer&, Dir&) {
       EXPECT_EQ(h.ftp.LastFtpError().Number, 16530);
       EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // the connection is closed
     }},
    {"HangUpDuringMethod", false, [](FakeFtpServer& s) { s.Expect("CWD x").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0", "S1"}},
    {"HangUpWhileIdle", false, [](FakeFtpServer& s) { s.CloseControl(); }, [](FtpHarness&, Dir&) {}, {"S1"}},
    {"HangUpBeforeQuitIsAnswered", false, [](FakeFtpServer& s) { s.Expect("QUIT").CloseControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0", "OnQuitSession(0)@0", "S1"}},
    {"ResetDuringMethod", false, [](FakeFtpServer& s) { s.Expect("CWD x").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.SetCurrentDirectory("x"); },
     {"S6", ">CWD x", "S0", "OnSetCurrentDirectory(1)@0"}},
    {"ResetDuringQuit", false, [](FakeFtpServer& s) { s.Expect("QUIT").ResetControl(); },
     [](FtpHarness& h, Dir&) { h.ftp.QuitSession(); }, {"S19", ">QUIT", "S0"}},
    {"ServiceClosingWhileIdle", false, [](FakeFtpServer& s) { s.Pause(50).Reply("421 Timeout"); },
     [](FtpHarness&, Dir&) {}, {"!421 Timeout", "S0"}, {},
     [](FtpHarness& h, FakeFtpServer&, Dir&) {
       EXPECT_THROW(h.ftp.GetCurrentDirectory(), net::NetError);  // we closed it: 16008
     }},
    {"SilentGreeting", true, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.SetTimeOut(1); CancelAt(h, "OnConnect(2)@3"); h.ftp.Connect(); },
     {"S2", "S3", "OnConnect(2)@3", "S0", "OnConnect(3)@0"}},
    // A restart marker is no answer to LIST: the listing fails instead of waiting on.
    {"RestartMarkerToList", false,
     [](FakeFtpServer& s) { s.PassiveData("A").Expect("LIST").Reply("110 MARK 0 = 0"); },
     [](FtpHarness& h, Dir&) { Passive(h); h.ftp.EnumFiles(); },
     {"S13", ">TYPE A", "<200 ok", "S13", ">PASV", "<227 *", "S11", "S13", ">LIST", "<110 MARK 0 = 0", "S0",
      "OnEnumFiles(1)@0"},
     {}, [](FtpHarness& h, FakeFtpServer&, Dir&) { EXPECT_EQ(h.ftp.LastFtpError().Number, 16110); }},
    // The time-out stops nothing: it ticks again until the method is cancelled, then no more.
    {"TimeOutThenCancel", false, [](FakeFtpServer& s) { s.Expect("CWD slow"); },
     [](FtpHarness& h, Dir&) {
       h.ftp.SetTimeOut(1); CancelAt(h, "OnSetCurrentDirectory(2)@6", 2); h.ftp.SetCurrentDirectory("slow");
     },
     {"S6", ">CWD slow", "OnSetCurrentDirectory(2)@6", "OnSetCurrentDirectory(2)@6", "S0",
      "OnSetCurrentDirectory(3)@0"},
     {},
     [](FtpHarness& h, FakeFtpServer&, Dir&) {
       h.loop.RunFor(1500);  // a tick would come now
       EXPECT_EQ(h.lines.size(), 6u);
     }},
    {"CancelConnect", true, [](FakeFtpServer& s) { s.Reply("220 fake ready").Expect("USER"); },
     [](FtpHarness& h, Dir&) { CancelAt(h, ">USER anonymous"); h.ftp.Connect(); },
     {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "S0", "OnConnect(3)@0"}},
    {"CancelWithNothingRunning", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CancelAsyncMethod(); }, {"S0"}},
    {"CloseWhileIdle", false, [](FakeFtpServer&) {},
     [](FtpHarness& h, Dir&) { h.ftp.CloseControlConnection(); }, {"S0"}},
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
  session.act(h, dir.path());
  nettest::RunUntil(
      h.loop, [&] { return h.lines.size() >= session.expected.size(); }, 10000);
  h.loop.RunFor(100);  // anything that should not come would come now
  ExpectSequence(session.expected, h.lines);
  EXPECT_EQ(h.ftp.FtpSessionState(), h.states.empty() ? 0 : h.states.back());
  if (session.check) session.check(h, server, dir.path());
  EXPECT_EQ(server.Finish(), "");
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
  EXPECT_TRUE(nettest::RunUntil(
      loop, [&] { return exchange.ftp == nullptr; }, 10000))
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

// A handler may reconnect from the event that reports the failure, on the same client.
struct Reconnect {
  const char* name;
  std::function<void(FakeFtpServer&)> first;
  bool change_directory;  // start CWD once logged in
  const char* on;         // the line whose handler reconnects
};

class FtpReconnectTest : public ::testing::TestWithParam<Reconnect> {};

TEST_P(FtpReconnectTest, FromTheFailureEvent) {
  FakeFtpServer first, second;
  GetParam().first(first);
  first.Start();
  second.Reply("220 fake ready")
      .Expect("USER")
      .Reply("230 in")
      .Expect("PWD")
      .Reply("257 \"/second\"");
  second.Start();
  FtpHarness h;
  size_t reconnected_at = 0;  // lines written before the reconnect
  h.then = [&](const std::string& line) {
    if (line == "OnConnect(0)@0" && !reconnected_at && GetParam().change_directory) {
      h.ftp.SetCurrentDirectory("x");
    }
    if (line != GetParam().on || reconnected_at) return;
    reconnected_at = h.lines.size();
    h.ftp.SetRemotePort(second.port());
    h.ftp.Connect();
  };
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(first.port());
  h.ftp.Connect();
  ASSERT_TRUE(nettest::RunUntil(
      h.loop, [&] { return reconnected_at && h.ftp.CurrentDirectory() == "/second"; }, 10000))
      << Show(h.lines);
  h.loop.RunFor(50);
  // The new session's own events, and nothing of the old one's end among them.
  ExpectSequence(
      {"S2", "S3", "<220 fake ready", "S4", ">USER anonymous", "<230 in", "S5", "S13", ">PWD",
       "<257 \"/second\"", "S0", "OnConnect(0)@0"},
      Lines(h.lines.begin() + static_cast<std::ptrdiff_t>(reconnected_at), h.lines.end()));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Failures, FtpReconnectTest,
    ::testing::Values(
        Reconnect{"HangUp", [](FakeFtpServer& s) { s.Login().CloseControl(); }, false, "S1"},
        Reconnect{"HangUpUnderAMethod", [](FakeFtpServer& s) { s.Login().Expect("CWD x").CloseControl(); }, true,
                  "OnSetCurrentDirectory(1)@0"},
        Reconnect{"RefusedLogin", [](FakeFtpServer& s) { s.Reply("220 hi").Expect("USER").Reply("530 go away"); },
                  false, "OnConnect(1)@0"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
