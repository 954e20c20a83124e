// Helpers shared by the network tests: files, child processes, FTP servers started on
// 127.0.0.1, and a client harness that records events and waits on the network loop.
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
#include "temp_dir.h"

namespace nettest {

using TempDir = brikka::testing::TempDir;
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);  // sorted names

// What `call` raised at once, as "number source: description"; "" when it raised nothing.
template <class F>
std::string Raised(F&& call) {
  try {
    call();
  } catch (const net::NetError& e) {
    return std::to_string(e.Number) + " " + e.Source + ": " + e.Description;
  }
  return "";
}

// Runs the loop until `done` holds or `timeout_ms` passes; returns done().
bool RunUntil(platform::NetLoop& loop, const std::function<bool()>& done, int timeout_ms = 10000);

// A listening socket on 127.0.0.1 at a port the system picks; -1 when there is none.
int ListenOnLoopback(uint16_t& port);

// A port on 127.0.0.1 (0: one the system picks) that refuses connections while the object
// lives: it is bound but never listens, so no other socket can take it meanwhile.
class RefusingPort {
 public:
  explicit RefusingPort(uint16_t port = 0);
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  uint16_t port() const { return port_; }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

// A child process, killed and reaped on destruction; its standard output comes back through
// a pipe, its standard error is kept quiet.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  std::string ReadLine(int timeout_ms);  // without the newline; "" on end or time-out

 private:
  pid_t pid_ = -1;
  int out_fd_ = -1;
};

// An FTP server on 127.0.0.1 with a temporary root, running while a copy of it lives. Tests
// write into `work_dir` (the root for pyftpdlib; "pub" below it for vsftpd, whose anonymous
// root must not be writable) and reach it at `remote_work_dir`. `port` 0: not running, for
// the reason in `why_not`.
struct FtpServer {
  std::string name, work_dir, remote_work_dir;
  uint16_t port = 0;
  std::shared_ptr<void> running{};  // the process and its root
  std::string why_not{};
};

// "pyftpdlib": user "brikka"/"secret", anonymous, and `user`/`password` when given.
// "vsftpd" (needs root): anonymous only.
FtpServer StartFtpServer(const std::string& kind, const std::string& user = "",
                         const std::string& password = "");

// Writes down everything a client reports, each event as one line with the session state at
// that moment: "S5" a state change (one the state disagrees with shows as "S5/3"), ">PWD" a
// command sent, "<257 ..." a reply below 400, "!550 ..." one of 400 or more, "P1234"
// progress, "OnConnect(0)@0" a completion with its status and the state.
struct EventLog {
  void Attach(net::CFtpClient& ftp);
  void Write(const std::string& line);
  // The lines of one kind ('S', '>', 'P', ...), without their first character.
  std::vector<std::string> Of(char kind) const;

  std::vector<std::string> lines;
  std::vector<std::pair<std::string, int>> events;  // completions: name, status
  // Called after each line is written down; it may act on the client, even destroy it.
  std::function<void(const std::string& line)> then;
};

// A CFtpClient on its own loop, recording what it reports. `client` may be reset (from an
// event too); `ftp` is only used while it lives.
struct FtpHarness : EventLog {
  FtpHarness() { Attach(ftp); }
  // Calls `start` (a method) and runs the loop until its completion event; returns the
  // status, or -1 when no event came within `timeout_ms`.
  int Call(const std::function<void()>& start, int timeout_ms = 15000);
  // Connects to 127.0.0.1:port (as `user`/`password` when user is not empty).
  int Login(uint16_t port, const std::string& user = "", const std::string& password = "");

  platform::NetLoop loop;
  std::unique_ptr<net::CFtpClient> client = std::make_unique<net::CFtpClient>(loop);
  net::CFtpClient& ftp = *client;
};

}  // namespace nettest
