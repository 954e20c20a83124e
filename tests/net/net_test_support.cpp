// Test helpers: files, sockets, child processes, the two real FTP servers, the client harness.
#include "net_test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace nettest {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool RunUntil(platform::NetLoop& loop, const std::function<bool()>& done, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    loop.RunOne(static_cast<int32_t>(std::min<int64_t>(left.count(), 100)));
  }
  return true;
}

namespace {

// A TCP socket bound to 127.0.0.1:port (0: the system picks); the port it got goes to `port`.
int BoundOnLoopback(uint16_t& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

int ListenOnLoopback(uint16_t& port) {
  port = 0;
  int fd = BoundOnLoopback(port);
  if (fd >= 0 && listen(fd, 16) != 0) {
    close(fd);
    fd = -1;
  }
  return fd;
}

RefusingPort::RefusingPort(uint16_t port) : fd_(BoundOnLoopback(port)), port_(port) {}

RefusingPort::~RefusingPort() {
  close(fd_);
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
    close_range(3, ~0u, 0);  // none of the test's sockets may live on in the child
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  out_fd_ = pipe_fds[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (out_fd_ >= 0) close(out_fd_);
}

std::string ChildProcess::ReadLine(int timeout_ms) {
  std::string line;
  pollfd p{out_fd_, POLLIN, 0};
  char c;
  while (poll(&p, 1, timeout_ms) > 0 && read(out_fd_, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

FtpServer StartFtpServer(const std::string& kind, const std::string& user,
                         const std::string& password) {
  struct Running {  // the process goes before its root
    TempDir root;
    std::unique_ptr<ChildProcess> process;
  };
  auto running = std::make_shared<Running>();
  std::vector<std::string> argv = {"/usr/bin/python3",
                                   std::string(BRIKKA_SOURCE_DIR) + "/tests/net/ftp_servers.py",
                                   kind, running->root.str()};
  if (!user.empty()) argv.insert(argv.end(), {user, password});
  running->process = std::make_unique<ChildProcess>(argv);
  const std::string said = running->process->ReadLine(10000);
  const std::string pub = kind == "vsftpd" ? "/pub" : "";
  FtpServer server{kind, running->root.str() + pub, pub.empty() ? "/" : pub};
  server.port = static_cast<uint16_t>(std::atoi(said.c_str()));
  server.running = running;
  if (!server.port) server.why_not = said.empty() ? kind + " did not start" : said;
  return server;
}

void EventLog::Write(const std::string& line) {
  lines.push_back(line);
  if (then) then(line);  // last: it may destroy the client
}

std::vector<std::string> EventLog::Of(char kind) const {
  std::vector<std::string> found;
  for (const auto& line : lines) {
    if (line[0] == kind) found.push_back(line.substr(1));
  }
  return found;
}

void EventLog::Attach(net::CFtpClient& ftp) {
  auto record = [this, &ftp](const char* name) {
    return [this, &ftp, name](int32_t status) {
      events.emplace_back(name, status);
      Write(std::string(name) + "(" + std::to_string(status) + ")@" +
            std::to_string(ftp.FtpSessionState()));
    };
  };
#define BRIKKA_RECORD(event) ftp.event = record(#event)
  BRIKKA_RECORD(OnConnect), BRIKKA_RECORD(OnCreateDirectory), BRIKKA_RECORD(OnDeleteFile);
  BRIKKA_RECORD(OnGetCurrentDirectory), BRIKKA_RECORD(OnSetCurrentDirectory);
  BRIKKA_RECORD(OnRemoveDirectory), BRIKKA_RECORD(OnRenameFile), BRIKKA_RECORD(OnDownloadFile);
  BRIKKA_RECORD(OnUploadFile), BRIKKA_RECORD(OnEnumFiles), BRIKKA_RECORD(OnQuitSession);
#undef BRIKKA_RECORD
  ftp.OnStateChange = [this, &ftp](int32_t state) {
    const int now = ftp.FtpSessionState();
    Write("S" + std::to_string(state) + (now == state ? "" : "/" + std::to_string(now)));
  };
  ftp.SessionProtocolMessage = [this](int32_t kind, const std::string& text) {
    Write((kind == 0 ? ">" : kind == 1 ? "<" : "!") + text);
  };
  ftp.OnDataTransferProgress = [this](int64_t bytes) { Write("P" + std::to_string(bytes)); };
}

int FtpHarness::Call(const std::function<void()>& start, int timeout_ms) {
  const size_t before = events.size();
  start();
  const bool came = RunUntil(
      loop, [&] { return events.size() > before; }, timeout_ms);
  return came ? events.back().second : -1;
}

int FtpHarness::Login(uint16_t port, const std::string& user, const std::string& password) {
  ftp.SetFtpServer("127.0.0.1");
  ftp.SetRemotePort(port);
  ftp.SetUserName(user);
  ftp.SetPassword(password);
  return Call([&] { ftp.Connect(); });
}

}  // namespace nettest
