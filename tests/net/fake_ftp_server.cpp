// The scripted FTP server's thread: every wait is a poll() in short slices so the test can
// stop it at any moment.
#include "fake_ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "net_test_support.h"

namespace nettest {
namespace {

constexpr int kStepTimeoutMs = 10000;

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

int ConnectFrom(const std::string& from, const std::string& host, int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  if (!from.empty()) {
    inet_pton(AF_INET, from.c_str(), &address.sin_addr);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  address.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, host.c_str(), &address.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) CloseFd(fd);
  return fd;
}

bool SendAll(int fd, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

FakeFtpServer::FakeFtpServer() {
  listen_fd_ = ListenOnLoopback(port_);
}

FakeFtpServer::~FakeFtpServer() {
  Finish();
  for (int* fd : {&listen_fd_, &control_fd_, &data_listen_fd_, &data_fd_}) CloseFd(*fd);
}

FakeFtpServer& FakeFtpServer::Raw(const std::string& bytes) {
  steps_.push_back([this, bytes] { return SendAll(control_fd_, bytes); });
  return *this;
}

FakeFtpServer& FakeFtpServer::Pause(int ms) {
  steps_.push_back([this, ms] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stop_ && std::chrono::steady_clock::now() < end) poll(nullptr, 0, 10);
    return !stop_;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::Expect(const std::string& prefix) {
  steps_.push_back([this, prefix] {
    std::string line;
    const bool read = ReadLine(line);
    if (read && line.rfind(prefix, 0) == 0) return true;
    Fail("expected " + prefix + ", got " + (read ? line : "nothing"));
    return false;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::Login() {
  return Reply("220 fake ready")
      .Expect("USER")
      .Reply("331 password please")
      .Expect("PASS")
      .Reply("230 logged in")
      .Expect("PWD")
      .Reply("257 \"/\" is current");
}

FakeFtpServer& FakeFtpServer::PassiveReply(const std::string& host) {
  steps_.push_back([this, host] {
    uint16_t port = 0;
    CloseFd(data_listen_fd_);
    data_listen_fd_ = ListenOnLoopback(port);
    return SendAll(control_fd_, "227 Entering Passive Mode (" + host + "," +
                                    std::to_string(port / 256) + "," + std::to_string(port % 256) +
                                    ")\r\n");
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::ConnectToPort() {
  steps_.push_back([this] {
    CloseFd(data_fd_);
    data_fd_ = ConnectFrom("", last_port_host_, last_port_);
    if (data_fd_ < 0) Fail("cannot connect to the PORT address");
    return data_fd_ >= 0;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::StrangerAtPort(const std::string& from, const std::string& bytes) {
  steps_.push_back([this, from, bytes] {
    int fd = ConnectFrom(from, last_port_host_, last_port_);
    if (fd < 0) return true;  // nobody listens for strangers: fine too
    SendAll(fd, bytes);
    char buffer[4096];
    ssize_t n;
    while (WaitReadable(fd, 1000) && (n = read(fd, buffer, sizeof buffer)) > 0) {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.stranger_received.append(buffer, static_cast<size_t>(n));
    }
    CloseFd(fd);
    return true;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::AcceptData() {
  steps_.push_back([this] {
    if (!WaitReadable(data_listen_fd_, kStepTimeoutMs)) {
      Fail("no data connection came");
      return false;
    }
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    CloseFd(data_fd_);
    data_fd_ = accept(data_listen_fd_, reinterpret_cast<sockaddr*>(&peer), &length);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.data_peer = text;
    return data_fd_ >= 0;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::SendData(const std::string& bytes) {
  steps_.push_back([this, bytes] { return SendAll(data_fd_, bytes); });
  return *this;
}

FakeFtpServer& FakeFtpServer::SendDataRepeated(const std::string& line, size_t total) {
  return Then([this, line, total] {
    for (size_t sent = 0; sent < total && !stop_ && SendAll(data_fd_, line); sent += line.size()) {
    }  // stops early when the client has had enough
  });
}

FakeFtpServer& FakeFtpServer::ReadDataUntilClosed() {
  steps_.push_back([this] {
    char buffer[65536];
    while (WaitReadable(data_fd_, kStepTimeoutMs)) {
      const ssize_t n = read(data_fd_, buffer, sizeof buffer);
      if (n <= 0) return true;
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.data_received.append(buffer, static_cast<size_t>(n));
    }
    Fail("the data connection never closed");
    return false;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::Then(std::function<void()> action) {
  steps_.push_back([action] {
    action();
    return true;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::Gate() {
  steps_.push_back([this] {
    std::unique_lock<std::mutex> lock(mutex_);
    const int mine = ++gates_passed_;
    while (gates_opened_ < mine && !stop_) gate_cv_.wait_for(lock, std::chrono::milliseconds(20));
    return !stop_;
  });
  return *this;
}

void FakeFtpServer::OpenGate() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++gates_opened_;
  gate_cv_.notify_all();
}

std::string FakeFtpServer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return seen_.failure;
}

// A reset closes with RST: the peer's next read fails with "connection reset".
void FakeFtpServer::Close(int& fd, bool reset) {
  linger hard{1, 0};
  if (fd >= 0 && reset) setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  CloseFd(fd);
}

void FakeFtpServer::Run() {
  if (!WaitReadable(listen_fd_, kStepTimeoutMs)) return Fail("the client never connected");
  control_fd_ = accept(listen_fd_, nullptr, nullptr);
  // Replies go out as they are scripted: two in a row must not wait for the client's ACK.
  int yes = 1;
  setsockopt(control_fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  for (const Step& step : steps_) {
    if (stop_ || !step()) break;
  }
  // The script is over: stay on the line, reading commands, until the test is done.
  std::string line;
  while (!stop_ && control_fd_ >= 0 && ReadLine(line)) {
  }
}

bool FakeFtpServer::WaitReadable(int fd, int timeout_ms) {
  for (int waited = 0; fd >= 0 && waited < timeout_ms && !stop_; waited += 20) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) > 0) return true;
  }
  return false;
}

bool FakeFtpServer::ReadLine(std::string& line) {
  size_t lf;
  while ((lf = pending_input_.find('\n')) == std::string::npos) {
    char buffer[4096];
    ssize_t n = 0;
    if (!WaitReadable(control_fd_, kStepTimeoutMs) || (n = read(control_fd_, buffer, 4096)) <= 0)
      return false;
    pending_input_.append(buffer, static_cast<size_t>(n));
  }
  line = pending_input_.substr(0, lf);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pending_input_.erase(0, lf + 1);
  std::lock_guard<std::mutex> lock(mutex_);
  seen_.commands.push_back(line);
  int h[6] = {};
  if (std::sscanf(line.c_str(), "PORT %d,%d,%d,%d,%d,%d", &h[0], &h[1], &h[2], &h[3], &h[4],
                  &h[5]) == 6) {
    last_port_host_ = std::to_string(h[0]) + "." + std::to_string(h[1]) + "." +
                      std::to_string(h[2]) + "." + std::to_string(h[3]);
    last_port_ = h[4] * 256 + h[5];
    seen_.ports.push_back(last_port_);
  }
  return true;
}

void FakeFtpServer::Fail(const std::string& why) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (seen_.failure.empty()) seen_.failure = why;
}

FakeFtpServer::Record FakeFtpServer::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

}  // namespace nettest
