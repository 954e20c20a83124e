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
#include <cstdlib>

namespace nettest {
namespace {

constexpr int kStepTimeoutMs = 10000;

int ListenOnLoopback(uint16_t& port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(fd, 4);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Closes with RST: the peer's next read fails with "connection reset".
void ResetFd(int& fd) {
  if (fd < 0) return;
  linger hard{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  CloseFd(fd);
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

}  // namespace

FakeFtpServer::FakeFtpServer() {
  listen_fd_ = ListenOnLoopback(port_);
}

FakeFtpServer::~FakeFtpServer() {
  Finish();
  CloseFd(listen_fd_);
  CloseFd(control_fd_);
  CloseFd(data_listen_fd_);
  CloseFd(data_fd_);
}

FakeFtpServer& FakeFtpServer::Reply(const std::string& line) {
  return Raw(line + "\r\n");
}

FakeFtpServer& FakeFtpServer::Raw(const std::string& bytes) {
  steps_.push_back([this, bytes] { return SendAll(control_fd_, bytes); });
  return *this;
}

FakeFtpServer& FakeFtpServer::Pause(int ms) {
  steps_.push_back([this, ms] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stop_ && std::chrono::steady_clock::now() < end) {
      poll(nullptr, 0, 10);
    }
    return !stop_;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::Expect(const std::string& prefix) {
  steps_.push_back([this, prefix] {
    std::string line;
    if (!ReadLine(line)) {
      Fail("expected " + prefix + ", got nothing");
      return false;
    }
    if (line.rfind(prefix, 0) != 0) {
      Fail("expected " + prefix + ", got " + line);
      return false;
    }
    return true;
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
    uint16_t data_port = 0;
    CloseFd(data_listen_fd_);
    data_listen_fd_ = ListenOnLoopback(data_port);
    return SendAll(control_fd_, "227 Entering Passive Mode (" + host + "," +
                                    std::to_string(data_port / 256) + "," +
                                    std::to_string(data_port % 256) + ")\r\n");
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::PassiveData(const std::string& type) {
  return Expect("TYPE " + type)
      .Reply("200 ok")
      .Expect("PASV")
      .PassiveReply("127,0,0,1")
      .AcceptData();
}

FakeFtpServer& FakeFtpServer::ConnectToPort() {
  steps_.push_back([this] {
    CloseFd(data_fd_);
    data_fd_ = ConnectFrom("", last_port_host_, last_port_);
    if (data_fd_ < 0) {
      Fail("cannot connect to the PORT address");
      return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    data_connected_ = true;
    return true;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::StrangerAtPort(const std::string& from, const std::string& bytes) {
  steps_.push_back([this, from, bytes] {
    int fd = ConnectFrom(from, last_port_host_, last_port_);
    if (fd < 0) return true;  // nobody listens for strangers: fine too
    SendAll(fd, bytes);
    char buffer[4096];
    while (WaitReadable(fd, 1000)) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      std::lock_guard<std::mutex> lock(mutex_);
      stranger_received_.append(buffer, static_cast<size_t>(n));
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
    data_peer_ = text;
    data_connected_ = data_fd_ >= 0;
    return data_fd_ >= 0;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::SendData(const std::string& bytes) {
  steps_.push_back([this, bytes] { return SendAll(data_fd_, bytes); });
  return *this;
}

FakeFtpServer& FakeFtpServer::SendDataRepeated(const std::string& line, size_t total) {
  steps_.push_back([this, line, total] {
    for (size_t sent = 0; sent < total && !stop_; sent += line.size()) {
      if (!SendAll(data_fd_, line)) break;  // the client has had enough
    }
    return true;
  });
  return *this;
}

FakeFtpServer& FakeFtpServer::ReadDataUntilClosed() {
  steps_.push_back([this] {
    char buffer[65536];
    while (WaitReadable(data_fd_, kStepTimeoutMs)) {
      const ssize_t n = read(data_fd_, buffer, sizeof buffer);
      if (n <= 0) return true;
      std::lock_guard<std::mutex> lock(mutex_);
      data_received_.append(buffer, static_cast<size_t>(n));
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

FakeFtpServer& FakeFtpServer::CloseData() {
  return Then([this] { CloseFd(data_fd_); });
}

FakeFtpServer& FakeFtpServer::ResetData() {
  return Then([this] { ResetFd(data_fd_); });
}

FakeFtpServer& FakeFtpServer::CloseControl() {
  return Then([this] { CloseFd(control_fd_); });
}

FakeFtpServer& FakeFtpServer::ResetControl() {
  return Then([this] { ResetFd(control_fd_); });
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

void FakeFtpServer::Start() {
  thread_ = std::thread([this] { Run(); });
}

void FakeFtpServer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
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
  if (fd < 0) return false;
  for (int waited = 0; waited < timeout_ms && !stop_; waited += 20) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) > 0) return true;
  }
  return false;
}

bool FakeFtpServer::SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool FakeFtpServer::ReadLine(std::string& line) {
  for (;;) {
    const size_t lf = pending_input_.find('\n');
    if (lf != std::string::npos) {
      line = pending_input_.substr(0, lf);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      pending_input_.erase(0, lf + 1);
      std::lock_guard<std::mutex> lock(mutex_);
      commands_.push_back(line);
      if (line.rfind("PORT ", 0) == 0) {
        int h[6] = {};
        std::sscanf(line.c_str() + 5, "%d,%d,%d,%d,%d,%d", &h[0], &h[1], &h[2], &h[3], &h[4],
                    &h[5]);
        last_port_host_ = std::to_string(h[0]) + "." + std::to_string(h[1]) + "." +
                          std::to_string(h[2]) + "." + std::to_string(h[3]);
        last_port_ = h[4] * 256 + h[5];
        ports_.push_back(last_port_);
      }
      return true;
    }
    if (!WaitReadable(control_fd_, kStepTimeoutMs)) return false;
    char buffer[4096];
    const ssize_t n = read(control_fd_, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending_input_.append(buffer, static_cast<size_t>(n));
  }
}

void FakeFtpServer::Fail(const std::string& why) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failure_.empty()) failure_ = why;
}

std::vector<std::string> FakeFtpServer::Commands() {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::string FakeFtpServer::Failure() {
  std::lock_guard<std::mutex> lock(mutex_);
  return failure_;
}

std::string FakeFtpServer::DataReceived() {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_received_;
}

std::string FakeFtpServer::StrangerReceived() {
  std::lock_guard<std::mutex> lock(mutex_);
  return stranger_received_;
}

std::string FakeFtpServer::DataPeer() {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_peer_;
}

bool FakeFtpServer::DataConnected() {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_connected_;
}

std::vector<int> FakeFtpServer::PortsAnnounced() {
  std::lock_guard<std::mutex> lock(mutex_);
  return ports_;
}

}  // namespace nettest
