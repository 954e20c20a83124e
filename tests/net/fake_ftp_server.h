// A scripted FTP server for faults a real server will not make: it listens on 127.0.0.1,
// accepts a control connection and plays its script (replies, expected commands, pauses,
// data connections, hang-ups) on its own thread with plain POSIX sockets.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nettest {

class FakeFtpServer {
 public:
  FakeFtpServer();
  ~FakeFtpServer();
  FakeFtpServer(const FakeFtpServer&) = delete;
  FakeFtpServer& operator=(const FakeFtpServer&) = delete;

  uint16_t port() const { return port_; }

  // Script steps, played in order once Start() is called. Raw sends exactly these bytes;
  // Expect reads a command that must start with `prefix`, and Ok answers it "200 ok";
  // AcceptControl gives up the control connection for the next one (the first is taken before
  // any other step); Login is the usual anonymous one: greeting, USER, PASS, PWD.
  FakeFtpServer& Reply(const std::string& line) { return Raw(line + "\r\n"); }
  FakeFtpServer& Raw(const std::string& bytes);
  FakeFtpServer& Pause(int ms);
  FakeFtpServer& Expect(const std::string& prefix);
  FakeFtpServer& Ok(const std::string& prefix) { return Expect(prefix).Reply("200 ok"); }
  FakeFtpServer& AcceptControl();
  FakeFtpServer& Login();
  // Listens for a data connection on 127.0.0.1 and replies 227 naming `host` ("127,0,0,2")
  // with the listener's port.
  FakeFtpServer& PassiveReply(const std::string& host);
  // The usual way into a passive transfer: "TYPE <type>" accepted, PASV answered naming
  // 127.0.0.1, and the data connection accepted.
  FakeFtpServer& PassiveData(const std::string& type) {
    return Ok("TYPE " + type).Expect("PASV").PassiveReply("127,0,0,1").AcceptData();
  }
  // Connects to the address and port of the last PORT command.
  FakeFtpServer& ConnectToPort();
  // A stranger at the PORT address: connects from `from` ("127.0.0.2"), sends `bytes` and
  // keeps what it is given until the client closes (or a second passes).
  FakeFtpServer& StrangerAtPort(const std::string& from, const std::string& bytes);
  FakeFtpServer& AcceptData();
  FakeFtpServer& SendData(const std::string& bytes);
  // Sends `line` over and over, `total` bytes in all or until the client stops taking them.
  FakeFtpServer& SendDataRepeated(const std::string& line, size_t total);
  FakeFtpServer& ReadDataUntilClosed();
  // Closing a connection, with an orderly end or (reset) with RST.
  FakeFtpServer& CloseData() {
    return Then([this] { Close(data_fd_, false); });
  }
  FakeFtpServer& ResetData() {
    return Then([this] { Close(data_fd_, true); });
  }
  FakeFtpServer& CloseControl() {
    return Then([this] { Close(control_fd_, false); });
  }
  FakeFtpServer& ResetControl() {
    return Then([this] { Close(control_fd_, true); });
  }
  // Waits until the test calls OpenGate() (once per Gate), so a step can wait for the
  // client to have acted on what came before.
  FakeFtpServer& Gate();
  void OpenGate();

  void Start() {
    thread_ = std::thread([this] { Run(); });
  }
  // Stops the script (if still running), waits for the thread and returns the first thing
  // the client did not do as scripted ("" when all went as scripted).
  std::string Finish();

  struct Record {
    std::vector<std::string> commands;
    std::string failure;
    std::string data_received;      // what came on the data connection
    std::string stranger_received;  // what the stranger at the PORT address was given
    std::vector<int> ports;         // ports of PORT commands
  };
  Record Seen();  // what the server has seen so far

 private:
  using Step = std::function<bool()>;
  FakeFtpServer& Then(std::function<void()> action);  // a step that cannot fail
  void Run();
  static void Close(int& fd, bool reset);
  bool WaitReadable(int fd, int timeout_ms);
  bool ReadLine(std::string& line);
  void Fail(const std::string& why);

  int listen_fd_ = -1, control_fd_ = -1, data_listen_fd_ = -1, data_fd_ = -1;
  uint16_t port_ = 0;
  std::vector<Step> steps_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  Record seen_;
  std::string pending_input_, last_port_host_;
  int last_port_ = 0;
  std::condition_variable gate_cv_;
  int gates_opened_ = 0, gates_passed_ = 0;
};

}  // namespace nettest
