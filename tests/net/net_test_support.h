// Helpers shared by the network tests: temporary folders, files, FTP servers started on
// 127.0.0.1 for the length of a test suite, and a client harness that records events and
// waits on the network loop.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/cftp_client.h"
#include "platform/net/net_loop.h"

namespace nettest {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Names in a folder (no "." or ".."), sorted.
std::vector<std::string> ListFolder(const std::string& path);

// Runs the loop until `done` holds or `timeout_ms` passes; returns done().
bool RunUntil(platform::NetLoop& loop, const std::function<bool()>& done, int timeout_ms);

// A listening socket on 127.0.0.1 at a port the system picks; -1 when there is none.
int ListenOnLoopback(uint16_t& port);

// A port on 127.0.0.1 that refuses connections for as long as the object lives: it is bound
// but never listens, so no other socket can take it meanwhile.
class RefusingPort {
 public:
  explicit RefusingPort(uint16_t port = 0);  // 0: one the system picks
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  uint16_t port() const { return port_; }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

// A child process, killed and reaped on destruction.
class ChildProcess {
 public:
  // Starts argv; its standard output comes back through a pipe, its standard error is
  // kept quiet unless `show_errors`.
  explicit ChildProcess(const std::vector<std::string>& argv, bool show_errors = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Reads one line of the child's output (without the newline); "" on end or time-out.
  std::string ReadLine(int timeout_ms);
  bool Running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int out_fd_ = -1;
};

// An FTP server on 127.0.0.1 with a temporary root. Tests write into `work_dir()` (the
// root itself for pyftpdlib; "pub" below it for vsftpd, whose anonymous root must not be
// writable) and reach it at `remote_work_dir()`.
class FtpServer {
 public:
  virtual ~FtpServer() = default;
  virtual uint16_t port() const = 0;
  virtual std::string name() const = 0;
  virtual std::string work_dir() const = 0;
  virtual std::string remote_work_dir() const = 0;
  virtual bool has_user_login() const = 0;
  virtual bool ok() const = 0;
};

// pyftpdlib: user "brikka"/"secret", anonymous, and `user`/`password` when given.
std::unique_ptr<FtpServer> StartPyFtpServer(const std::string& user = "",
                                            const std::string& password = "");
// vsftpd (needs root): anonymous only. Null when vsftpd cannot run here.
std::unique_ptr<FtpServer> StartVsftpd(std::string* why_not);

// Writes down everything a client reports, each event as one line with the session state
// at that moment: "S5" a state change (one the state disagrees with shows as "S5/3"), ">PWD"
// a command sent, "<257 ..." a reply below 400, "!550 ..." one of 400 or more, "P1234"
// progress, "OnConnect(0)@0" a completion with its status and the state.
struct EventLog {
  void Attach(net::CFtpClient& ftp);
  void Write(const std::string& line);

  std::vector<std::string> lines;
  std::vector<std::pair<std::string, int>> events;  // completions: name, status
  std::vector<int> states;
  std::vector<std::pair<int, std::string>> protocol;
  std::vector<int64_t> progress;
  // Called after each line is written down; it may act on the client, even destroy it.
  std::function<void(const std::string& line)> then;
};

// A CFtpClient on its own loop, recording what it reports.
struct FtpHarness : EventLog {
  FtpHarness();
  // Calls `start` (a method) and runs the loop until its completion event; returns the
  // status, or -1 when no event came within `timeout_ms`.
  int Call(const std::function<void()>& start, int timeout_ms = 15000);
  // Connects to 127.0.0.1:port (as `user`/`password` when user is not empty).
  int Login(uint16_t port, const std::string& user = "", const std::string& password = "");
  std::vector<std::string> SentCommands() const;  // protocol messages of kind 0

  platform::NetLoop loop;
  net::CFtpClient ftp{loop};
};

}  // namespace nettest
