// The brikka-ftp command-line tool against pyftpdlib and the scripted server: its listing
// format, transfers, standard error reports and exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class BrikkaFtpToolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = nettest::StartFtpServer("pyftpdlib"); }
  static void TearDownTestSuite() { server_ = {}; }
  void SetUp() override {
    tool_ = std::string(BRIKKA_APP_DIR) + "/brikka-ftp";
    if (access(tool_.c_str(), X_OK) != 0) GTEST_SKIP() << "brikka-ftp is not built";
    ASSERT_TRUE(server_.port);
  }

  ToolRun Run(const std::vector<std::string>& args) {
    std::string command = Quote(tool_);
    for (const auto& a : args) command += " " + Quote(a);
    command += " >" + Quote(scratch_.file("out")) + " 2>" + Quote(scratch_.file("err"));
    ToolRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = nettest::ReadFile(scratch_.file("out"));
    run.err = nettest::ReadFile(scratch_.file("err"));
    return run;
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(server_.port); }
  std::string Remote(const std::string& name) const { return server_.work_dir + "/" + name; }

  static nettest::FtpServer server_;
  std::string tool_;
  nettest::TempDir scratch_, local_;
};

nettest::FtpServer BrikkaFtpToolTest::server_;

TEST_F(BrikkaFtpToolTest, ListsKindSizeDateNameAndLinkTarget) {
  std::filesystem::create_directory(Remote("lsdir"));
  nettest::WriteFile(Remote("lsdir/my file.txt"), "12345");
  std::filesystem::create_directory(Remote("lsdir/inner"));
  std::filesystem::create_symlink("my file.txt", Remote("lsdir/shortcut"));
  const ToolRun run = Run({Host(), "cd lsdir", "ls"});
  ASSERT_EQ(run.status, 0) << run.err;
  // kind TAB size TAB YYYY-MM-DD HH:MM TAB name
  const std::regex shape(R"(([-dl])\t(\d+)\t\d{4}-\d\d-\d\d \d\d:\d\d\t(.+))");
  std::map<std::string, std::string> seen;  // name: kind and size
  std::istringstream lines(run.out);
  std::smatch m;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
    seen[m[3]] = m[1].str() + m[2].str();
  }
  EXPECT_EQ(seen.size(), 3u) << run.out;
  EXPECT_EQ(seen["my file.txt"], "-5");
  EXPECT_EQ(seen["inner"].substr(0, 1), "d");
  EXPECT_EQ(seen["shortcut -> my file.txt"].substr(0, 1), "l");
}

TEST_F(BrikkaFtpToolTest, TransfersAndReportsStatesOnStandardError) {
  nettest::WriteFile(local_.file("mine.ini"), "[scores]\r\n1=100\r\n");
  nettest::WriteFile(local_.file("piece.txt"), "0123");
  nettest::WriteFile(local_.file("all.txt"), "abcdefg");
  nettest::WriteFile(Remote("whole.txt"), "0123456789");
  nettest::WriteFile(Remote("start.txt"), "abc");
  // A command of one operand takes the rest of its text, spaces and all.
  const ToolRun run =
      Run({"--verbose", Host(), "mkdir two  word dir", "cd two  word dir",
           "put " + local_.file("mine.ini") + " up.ini", "mv up.ini moved.ini",
           "get moved.ini " + local_.file("back.ini"), "pwd", "rm moved.ini", "cd ..",
           "rmdir two  word dir", "resume whole.txt " + local_.file("piece.txt"),
           "put-from 3 " + local_.file("all.txt") + " start.txt"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "/two  word dir\n");
  EXPECT_EQ(nettest::ReadFile(local_.file("back.ini")), "[scores]\r\n1=100\r\n");
  EXPECT_FALSE(std::filesystem::exists(Remote("two  word dir")));
  EXPECT_EQ(nettest::ReadFile(local_.file("piece.txt")), "0123456789");
  EXPECT_EQ(nettest::ReadFile(Remote("start.txt")), "abcdefg");
  EXPECT_NE(run.err.find("state 2: connecting\n"), std::string::npos);
  EXPECT_NE(run.err.find("state 17: uploading\n"), std::string::npos);
  EXPECT_NE(run.err.find("> USER anonymous\n"), std::string::npos);
  EXPECT_NE(run.err.find("< 221 "), std::string::npos);
  EXPECT_EQ(run.err.find("player@brikka.invalid"), std::string::npos);  // passwords stay hidden
  EXPECT_EQ(run.err.find("\r"), std::string::npos);  // no progress line off a terminal
}

// How a run ends, against pyftpdlib (HOST), a scripted server (FAKE: a session without a
// script is not run against one) or nothing at all: its status, and what standard error says.
struct ToolSession {
  const char* name;
  std::function<void(nettest::FakeFtpServer&)> script;
  std::vector<std::string> args;
  int status;
  const char* says;
};

void LoginAndPwd(nettest::FakeFtpServer& s) {
  s.Login().Expect("PWD").Reply("257 \"/\"");
}

const std::vector<std::string> kFakePwd = {"--timeout", "1", "FAKE", "pwd"};

// clang-format off
const ToolSession kToolSessions[] = {
    // The work is done: a server that goes before it says goodbye changes nothing.
    {"HangUpBeforeQuitIsAnswered", [](auto& s) { LoginAndPwd(s); s.Expect("QUIT").CloseControl(); }, kFakePwd, 0,
     "state 19: quitting\n"},
    {"ResetAtQuit", [](auto& s) { LoginAndPwd(s); s.Expect("QUIT").ResetControl(); }, kFakePwd, 0,
     "state 19: quitting\n"},
    {"HungUpBeforeQuit", [](auto& s) { LoginAndPwd(s); s.CloseControl(); }, kFakePwd, 0, "state 0: idle\n"},
    {"TimeOutSaysAfterHowLong", [](auto& s) { s.Login().Expect("CWD"); }, {"--timeout", "1", "FAKE", "cd slow", "pwd"},
     2, "brikka-ftp: cd slow timed out: no answer from the server in 1 s\n"},
    {"UnreadableListing",
     [](auto& s) {
       s.Login().PassiveData("A").Expect("LIST").Reply("150 here").SendData("this is no listing\r\n").CloseData();
       s.Reply("226 done").Expect("QUIT").Reply("221 bye");
     },
     {"FAKE", "ls"}, 1, "brikka-ftp: ls failed: Unknown listing format.\n"},
    {"RefusalWithACodeWeHaveNoTextFor",
     [](auto& s) { s.Login().Expect("DELE").Reply("534 Policy says no").Expect("QUIT").Reply("221 bye"); },
     {"FAKE", "rm x"}, 1, "brikka-ftp: rm x failed: error 16534: the server answered: 534 Policy says no\n"},
    // The commands after a failure do not run.
    {"FailingCommand", nullptr, {"HOST", "rm not-there.txt", "pwd"}, 1, "error 16550: Requested action not taken."},
    {"WrongPassword", nullptr, {"--user", "brikka", "--password", "wrong", "HOST", "pwd"}, 1,
     "error 16530: Not logged in."},
    {"Refused", nullptr, {"REFUSING", "pwd"}, 1, "error 10061: Connection refused."},
    // Bad command lines are refused before connecting.
    {"NoHost", nullptr, {}, 64, "no host given"},
    {"UnknownCommand", nullptr, {"HOST", "fetch a"}, 64, "unknown command \"fetch\""},
    {"TooFewOperands", nullptr, {"HOST", "get onlyone"}, 64, "\"get\" takes 2 operand(s)"},
    {"NoBytePosition", nullptr, {"HOST", "put-from x a b"}, 64, "put-from needs a byte position"},
    {"TimeOutNoNumber", nullptr, {"--timeout", "abc", "HOST", "pwd"}, 64, "--timeout takes 1 to 32767 seconds"},
    {"TimeOutZero", nullptr, {"--timeout", "0", "HOST", "pwd"}, 64, "--timeout takes 1 to 32767 seconds"},
    {"PortTooBig", nullptr, {"127.0.0.1:99999", "pwd"}, 64, "bad host"},
    {"IPv6", nullptr, {"::1", "pwd"}, 64, "IPv6 addresses are not supported"},
    {"IPv6WithPort", nullptr, {"[::1]:2121", "pwd"}, 64, "IPv6 addresses are not supported"},
};
// clang-format on

class BrikkaFtpToolSessionTest : public BrikkaFtpToolTest,
                                 public ::testing::WithParamInterface<ToolSession> {};

TEST_P(BrikkaFtpToolSessionTest, EndsAndReportsAsItShould) {
  const ToolSession& session = GetParam();
  nettest::FakeFtpServer fake;
  if (session.script) session.script(fake);
  fake.Start();
  nettest::RefusingPort refusing;
  std::vector<std::string> args;
  for (const std::string& arg : session.args) {
    args.push_back(arg == "HOST"       ? Host()
                   : arg == "FAKE"     ? "127.0.0.1:" + std::to_string(fake.port())
                   : arg == "REFUSING" ? "127.0.0.1:" + std::to_string(refusing.port())
                                       : arg);
  }
  const ToolRun run = Run(args);
  EXPECT_EQ(run.status, session.status) << run.err;
  EXPECT_NE(run.err.find(session.says), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("error 0:"), std::string::npos) << run.err;
  if (session.status == 1 && !session.script) {
    EXPECT_EQ(run.out, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, BrikkaFtpToolSessionTest, ::testing::ValuesIn(kToolSessions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
