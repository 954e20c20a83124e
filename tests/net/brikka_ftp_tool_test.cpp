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
  static void SetUpTestSuite() { server_ = nettest::StartPyFtpServer().release(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    tool_ = std::string(BRIKKA_APP_DIR) + "/brikka-ftp";
    if (access(tool_.c_str(), X_OK) != 0) GTEST_SKIP() << "brikka-ftp is not built";
    ASSERT_TRUE(server_->ok());
  }

  ToolRun Run(const std::vector<std::string>& args) {
    std::string command = Quote(tool_);
    for (const auto& a : args) command += " " + Quote(a);
    command += " >" + Quote(scratch_ / "out") + " 2>" + Quote(scratch_ / "err");
    ToolRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = nettest::ReadFile(scratch_ / "out");
    run.err = nettest::ReadFile(scratch_ / "err");
    return run;
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(server_->port()); }
  std::string Remote(const std::string& name) const { return server_->work_dir() + "/" + name; }

  static nettest::FtpServer* server_;
  std::string tool_;
  nettest::TempDir scratch_, local_;
};

nettest::FtpServer* BrikkaFtpToolTest::server_ = nullptr;

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
  nettest::WriteFile(local_ / "mine.ini", "[scores]\r\n1=100\r\n");
  const ToolRun run = Run({"--verbose", Host(), "mkdir tooldir", "cd tooldir",
                           "put " + (local_ / "mine.ini") + " up.ini", "mv up.ini moved.ini",
                           "get moved.ini " + (local_ / "back.ini"), "pwd", "rm moved.ini", "cd ..",
                           "rmdir tooldir"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "/tooldir\n");
  EXPECT_EQ(nettest::ReadFile(local_ / "back.ini"), "[scores]\r\n1=100\r\n");
  EXPECT_FALSE(nettest::FileExists(Remote("tooldir")));
  EXPECT_NE(run.err.find("state 2: connecting\n"), std::string::npos);
  EXPECT_NE(run.err.find("state 17: uploading\n"), std::string::npos);
  EXPECT_NE(run.err.find("> USER anonymous\n"), std::string::npos);
  EXPECT_NE(run.err.find("< 221 "), std::string::npos);
  EXPECT_EQ(run.err.find("player@brikka.invalid"), std::string::npos);  // passwords stay hidden
  EXPECT_EQ(run.err.find("\r"), std::string::npos);  // no progress line off a terminal
}

TEST_F(BrikkaFtpToolTest, ResumeAndPutFrom) {
  nettest::WriteFile(Remote("whole.txt"), "0123456789");
  nettest::WriteFile(local_ / "piece.txt", "0123");
  ASSERT_EQ(Run({Host(), "resume whole.txt " + (local_ / "piece.txt")}).status, 0);
  EXPECT_EQ(nettest::ReadFile(local_ / "piece.txt"), "0123456789");
  nettest::WriteFile(Remote("start.txt"), "abc");
  nettest::WriteFile(local_ / "all.txt", "abcdefg");
  ASSERT_EQ(Run({Host(), "put-from 3 " + (local_ / "all.txt") + " start.txt"}).status, 0);
  EXPECT_EQ(nettest::ReadFile(Remote("start.txt")), "abcdefg");
}

TEST_F(BrikkaFtpToolTest, FailingCommandGivesItsStatusAndError) {
  const ToolRun run = Run({Host(), "pwd", "rm not-there.txt", "pwd"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "/\n");  // the commands after the failure do not run
  EXPECT_NE(run.err.find("error 16550: Requested action not taken."), std::string::npos) << run.err;
  const ToolRun login = Run({"--user", "brikka", "--password", "wrong", Host(), "pwd"});
  EXPECT_EQ(login.status, 1);
  EXPECT_NE(login.err.find("error 16530: Not logged in."), std::string::npos) << login.err;
  nettest::RefusingPort refusing;
  const ToolRun refused = Run({"127.0.0.1:" + std::to_string(refusing.port()), "pwd"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("error 10061: Connection refused."), std::string::npos) << refused.err;
}

TEST_F(BrikkaFtpToolTest, OneOperandCommandTakesTheRestOfItsText) {
  const ToolRun run = Run(
      {Host(), "mkdir two  word dir", "cd two  word dir", "pwd", "cd ..", "rmdir two  word dir"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "/two  word dir\n");
  EXPECT_FALSE(nettest::FileExists(Remote("two  word dir")));
}

// Against a scripted server: how the session ends, and what the error lines say.
struct ToolSession {
  const char* name;
  std::function<void(nettest::FakeFtpServer&)> script;
  std::vector<std::string> commands;  // after the options and HOST
  int status;
  const char* says;  // what standard error must hold
};

void LoginAndPwd(nettest::FakeFtpServer& s) {
  s.Login().Expect("PWD").Reply("257 \"/\"");
}

// clang-format off
const ToolSession kToolSessions[] = {
    // The work is done: a server that goes before it says goodbye changes nothing.
    {"HangUpBeforeQuitIsAnswered", [](auto& s) { LoginAndPwd(s); s.Expect("QUIT").CloseControl(); }, {"pwd"}, 0,
     "state 19: quitting\n"},
    {"ResetAtQuit", [](auto& s) { LoginAndPwd(s); s.Expect("QUIT").ResetControl(); }, {"pwd"}, 0,
     "state 19: quitting\n"},
    {"HungUpBeforeQuit", [](auto& s) { LoginAndPwd(s); s.CloseControl(); }, {"pwd"}, 0, "state 0: idle\n"},
    {"TimeOutSaysAfterHowLong", [](auto& s) { s.Login().Expect("CWD"); }, {"cd slow", "pwd"}, 2,
     "brikka-ftp: cd slow timed out: no answer from the server in 1 s\n"},
    {"UnreadableListing",
     [](auto& s) {
       s.Login().PassiveData("A").Expect("LIST").Reply("150 here").SendData("this is no listing\r\n").CloseData();
       s.Reply("226 done").Expect("QUIT").Reply("221 bye");
     },
     {"ls"}, 1, "brikka-ftp: ls failed: Unknown listing format.\n"},
    {"RefusalWithACodeWeHaveNoTextFor",
     [](auto& s) { s.Login().Expect("DELE").Reply("534 Policy says no").Expect("QUIT").Reply("221 bye"); },
     {"rm x"}, 1, "brikka-ftp: rm x failed: error 16534: the server answered: 534 Policy says no\n"},
};
// clang-format on

class BrikkaFtpToolSessionTest : public BrikkaFtpToolTest,
                                 public ::testing::WithParamInterface<ToolSession> {};

TEST_P(BrikkaFtpToolSessionTest, EndsAndReportsAsItShould) {
  nettest::FakeFtpServer fake;
  GetParam().script(fake);
  fake.Start();
  std::vector<std::string> args = {"--timeout", "1", "127.0.0.1:" + std::to_string(fake.port())};
  args.insert(args.end(), GetParam().commands.begin(), GetParam().commands.end());
  const ToolRun run = Run(args);
  EXPECT_EQ(run.status, GetParam().status) << run.err;
  EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("error 0:"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Sessions, BrikkaFtpToolSessionTest, ::testing::ValuesIn(kToolSessions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BrikkaFtpToolTest, BadCommandLinesAreRefusedBeforeConnecting) {
  const std::pair<std::vector<std::string>, const char*> kBad[] = {
      {{}, "no host given"},
      {{Host(), "fetch a"}, "unknown command \"fetch\""},
      {{Host(), "get onlyone"}, "\"get\" takes 2 operand(s)"},
      {{Host(), "put-from x a b"}, "put-from needs a byte position"},
      {{"--timeout", "abc", Host(), "pwd"}, "--timeout takes 1 to 32767 seconds"},
      {{"--timeout", "0", Host(), "pwd"}, "--timeout takes 1 to 32767 seconds"},
      {{"127.0.0.1:99999", "pwd"}, "bad host"},
      {{"::1", "pwd"}, "IPv6 addresses are not supported"},
      {{"[::1]:2121", "pwd"}, "IPv6 addresses are not supported"},
  };
  for (const auto& [args, says] : kBad) {
    const ToolRun run = Run(args);
    EXPECT_EQ(run.status, 64) << says;
    EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
  }
}

}  // namespace
