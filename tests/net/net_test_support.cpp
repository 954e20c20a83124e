// Test helpers: folders, files, child processes, the two real FTP servers, the client
// harness.
#include "net_test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace nettest {
namespace fs = std::filesystem;

TempDir::TempDir() {
  char pattern[] = "/tmp/brikka-net-XXXXXX";
  path_ = mkdtemp(pattern);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path)) {
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

// ---- child processes ------------------------------------------------------------------

ChildProcess::ChildProcess(const std::vector<std::string>& argv, bool show_errors) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    if (!show_errors) {
      int null_fd = open("/dev/null", O_WRONLY);
      dup2(null_fd, STDERR_FILENO);
    }
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
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (out_fd_ >= 0) close(out_fd_);
}

std::string ChildProcess::ReadLine(int timeout_ms) {
  std::string line;
  pollfd p{out_fd_, POLLIN, 0};
  while (poll(&p, 1, timeout_ms) > 0) {
    char c;
    if (read(out_fd_, &c, 1) != 1 || c == '\n') break;
    line += c;
  }
  return line;
}

// ---- servers --------------------------------------------------------------------------

namespace {

std::vector<std::string> PyFtpArguments(const std::string& root, const std::string& user,
                                        const std::string& password) {
  std::vector<std::string> argv = {
      "/usr/bin/python3", std::string(BRIKKA_SOURCE_DIR) + "/tests/net/pyftpd_server.py", root};
  if (!user.empty()) argv.insert(argv.end(), {user, password});
  return argv;
}

class PyFtpServer : public FtpServer {
 public:
  PyFtpServer(const std::string& user, const std::string& password)
      : process_(PyFtpArguments(root_.path(), user, password)) {
    port_ = static_cast<uint16_t>(std::atoi(process_.ReadLine(10000).c_str()));
  }
  uint16_t port() const override { return port_; }
  std::string name() const override { return "pyftpdlib"; }
  std::string work_dir() const override { return root_.path(); }
  std::string remote_work_dir() const override { return "/"; }
  bool has_user_login() const override { return true; }
  bool ok() const override { return port_ != 0; }

 private:
  TempDir root_;
  ChildProcess process_;
  uint16_t port_ = 0;
};

// vsftpd run one process per connection (its inetd mode) on a listening socket of our own.
// The port is the system's pick and ours from the first moment: no port is chosen, let go
// and handed over (where another test's socket could take it meanwhile), and there is no
// start-up to wait for or to mistake another server for.
class Vsftpd : public FtpServer {
 public:
  Vsftpd() {
    const std::string root = dir_ / "root", pub = root + "/pub", empty = dir_ / "empty";
    fs::create_directories(pub);
    fs::create_directories(empty);
    chmod(root.c_str(), 0755);
    chmod(pub.c_str(), 0777);
    WriteFile(dir_ / "vsftpd.conf", Config(root, empty));
    listen_fd_ = ListenOnLoopback(port_);
    if (listen_fd_ >= 0) acceptor_ = std::thread([this] { Accept(); });
  }
  ~Vsftpd() override {
    stop_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    if (listen_fd_ >= 0) close(listen_fd_);
    for (pid_t pid : sessions_) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
  uint16_t port() const override { return port_; }
  std::string name() const override { return "vsftpd"; }
  std::string work_dir() const override { return dir_.path() + "/root/pub"; }
  std::string remote_work_dir() const override { return "/pub"; }
  bool has_user_login() const override { return false; }
  bool ok() const override { return listen_fd_ >= 0; }

 private:
  void Accept() {
    while (!stop_) {
      pollfd p{listen_fd_, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) {
        const int connection = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) Serve(connection);
      }
      // Sessions that ended are reaped as we go; the rest when we stop.
      std::erase_if(sessions_, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == pid; });
    }
  }

  void Serve(int connection) {
    const std::string config = dir_ / "vsftpd.conf";
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(connection, STDIN_FILENO);
      dup2(connection, STDOUT_FILENO);
      const int null_fd = open("/dev/null", O_WRONLY);
      dup2(null_fd, STDERR_FILENO);
      close_range(3, ~0u, 0);
      execl("/usr/sbin/vsftpd", "vsftpd", config.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(connection);
    if (pid > 0) sessions_.push_back(pid);
  }

  std::string Config(const std::string& root, const std::string& empty) const {
    std::ostringstream c;
    c << "listen=NO\nlisten_ipv6=NO\nanonymous_enable=YES\nlocal_enable=NO\nanon_root=" << root
      << "\nno_anon_password=YES\nwrite_enable=YES\nanon_upload_enable=YES\n"
         "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
         "anon_world_readable_only=NO\nanon_umask=022\nftp_username=ftp\n"
         "seccomp_sandbox=NO\nsecure_chroot_dir="
      << empty
      << "\npasv_enable=YES\npasv_address=127.0.0.1\npasv_addr_resolve=NO\nport_enable=YES\n"
         "connect_from_port_20=NO\nascii_upload_enable=YES\nascii_download_enable=YES\n"
         "xferlog_enable=NO\ndirmessage_enable=NO\nuse_localtime=YES\n";
    return c.str();
  }

  TempDir dir_;
  uint16_t port_ = 0;
  int listen_fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::vector<pid_t> sessions_;  // touched by the acceptor thread until it has stopped
};

}  // namespace

std::unique_ptr<FtpServer> StartPyFtpServer(const std::string& user, const std::string& password) {
  return std::make_unique<PyFtpServer>(user, password);
}

std::unique_ptr<FtpServer> StartVsftpd(std::string* why_not) {
  if (geteuid() != 0) {
    *why_not = "vsftpd needs root";
    return nullptr;
  }
  if (access("/usr/sbin/vsftpd", X_OK) != 0) {
    *why_not = "vsftpd is not installed";
    return nullptr;
  }
  auto server = std::make_unique<Vsftpd>();
  if (!server->ok()) {
    *why_not = "no listening socket for vsftpd";
    return nullptr;
  }
  return server;
}

// ---- client harness -------------------------------------------------------------------

void EventLog::Write(const std::string& line) {
  lines.push_back(line);
  if (then) then(line);  // last: it may destroy the client
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
    states.push_back(state);
    const int now = ftp.FtpSessionState();
    Write("S" + std::to_string(state) + (now == state ? "" : "/" + std::to_string(now)));
  };
  ftp.SessionProtocolMessage = [this](int32_t kind, const std::string& text) {
    protocol.emplace_back(kind, text);
    Write((kind == 0 ? ">" : kind == 1 ? "<" : "!") + text);
  };
  ftp.OnDataTransferProgress = [this](int64_t bytes) {
    progress.push_back(bytes);
    Write("P" + std::to_string(bytes));
  };
}

FtpHarness::FtpHarness() {
  Attach(ftp);
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

std::vector<std::string> FtpHarness::SentCommands() const {
  std::vector<std::string> sent;
  for (const auto& [kind, text] : protocol) {
    if (kind == 0) sent.push_back(text);
  }
  return sent;
}

}  // namespace nettest
