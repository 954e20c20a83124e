// CSocket: an event-driven TCP or UDP socket with the public shape of a socket control.
// Nothing blocks: methods start work and return; the outcome arrives as an event raised from
// the network loop (platform::NetLoop), never from inside the method call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/net_error.h"
#include "platform/net/net_loop.h"

namespace platform {
class TcpSocket;
class UdpSocket;
class Resolver;
}  // namespace platform

namespace net {

// The text of a socket error number ("Connection refused." for 10061, "Unknown error."
// for numbers we do not know).
std::string GetErrorDescription(int32_t code);

class CSocket {
 public:
  enum StateValue : int32_t {
    sckClosed = 0,
    sckOpen = 1,
    sckListening = 2,
    sckConnectionPending = 3,
    sckResolvingHost = 4,
    sckHostResolved = 5,
    sckConnecting = 6,
    sckConnected = 7,
    sckClosing = 8,
    sckError = 9,
  };
  enum ProtocolValue : int32_t { sckTCPProtocol = 0, sckUDPProtocol = 1 };

  explicit CSocket(platform::NetLoop& loop);
  ~CSocket();
  CSocket(const CSocket&) = delete;
  CSocket& operator=(const CSocket&) = delete;

  // Properties.
  int32_t State() const { return state_; }
  int32_t SocketHandle() const;
  int32_t Protocol() const { return protocol_; }
  void SetProtocol(int32_t protocol) { protocol_ = protocol; }
  const std::string& RemoteHost() const { return remote_host_; }
  void SetRemoteHost(const std::string& host);
  const std::string& RemoteHostIP() const { return remote_host_ip_; }
  int32_t RemotePort() const { return remote_port_; }
  void SetRemotePort(int32_t port) { remote_port_ = port; }
  int32_t LocalPort() const { return local_port_; }
  void SetLocalPort(int32_t port) { local_port_ = port; }
  const std::string& LocalIP() const { return local_ip_; }
  const std::string& LocalHostName() const { return local_host_name_; }
  int64_t BytesReceived() const { return bytes_received_; }

  // Methods.
  void Connect();
  void Connect(const std::string& strRemoteHost);
  void Connect(const std::string& strRemoteHost, int32_t lngRemotePort);
  void Bind(int32_t lngLocalPort = 0, const std::string& strLocalIP = "");
  void Listen();
  void Accept(int32_t requestID);
  // SendData with the byte forms of each type: one byte, an Integer's two, a Long's four,
  // a Single's four, a Double's eight (little-endian), a string's bytes, a byte array.
  void SendData(uint8_t value);
  void SendData(int16_t value);
  void SendData(int32_t value);
  void SendData(float value);
  void SendData(double value);
  void SendData(const std::string& data);
  void SendData(const char* data);
  void SendData(const std::vector<uint8_t>& data);
  void SendData(const char* data, size_t size);
  // The same as SendData(const std::string&), taking the bytes over instead of copying
  // them when nothing else is waiting; `data` is left empty.
  void SendData(std::string&& data);
  // Hand out received bytes (all of them, or at most maxLen when maxLen > 0). GetData
  // removes what it hands out; PeekData leaves it.
  void GetData(std::string& data, int32_t maxLen = 0);
  void GetData(std::vector<uint8_t>& data, int32_t maxLen = 0);
  void PeekData(std::string& data, int32_t maxLen = 0) const;
  void PeekData(std::vector<uint8_t>& data, int32_t maxLen = 0) const;
  // Shuts down one direction (0 receive, 1 send, 2 both) of a connected socket.
  void Shutdown(int32_t how);
  void CloseSocket();
  // Creates the system socket for the current protocol; returns its handle.
  int32_t vbSocket();

  // Events.
  std::function<void()> OnClose;
  std::function<void()> OnConnect;
  std::function<void(int32_t requestID)> OnConnectionRequest;
  std::function<void(int32_t bytesTotal)> OnDataArrival;
  std::function<void(int16_t Number, const std::string& Description, int32_t Scode,
                     const std::string& Source, const std::string& HelpFile, int32_t HelpContext,
                     bool& CancelDisplay)>
      OnError;
  std::function<void()> OnSendComplete;
  std::function<void(int32_t bytesSent, int32_t bytesRemaining)> OnSendProgress;

 private:
  template <class Event, class... Args>
  bool Raise(const Event& event, Args&&... args);
  bool Alive(const std::weak_ptr<char>& token) const { return !token.expired(); }

  void StartConnect();
  void ConnectTo(const std::string& ip);
  void OnResolved(int error, const std::string& address);
  void OnTcpConnected(int error);
  void ReadLocalEnd();
  void StartReading();
  void OnTcpRead(uint64_t serial, int error, const char* data, size_t size);
  void StartAccepting();
  void OnAccepted(uint64_t serial, int error, int32_t request_id);
  void StartWrite();
  void OnWritten(uint64_t serial, int error, size_t written);
  void StartUdpReceive();
  void StartUdpSend();
  void FailWith(int error, const std::string& source);
  void DestroySocket();
  size_t Unsent() const;

  platform::NetLoop& loop_;
  std::unique_ptr<platform::TcpSocket> tcp_;
  std::unique_ptr<platform::UdpSocket> udp_;
  std::unique_ptr<platform::Resolver> resolver_;
  // Bumped whenever the system socket is replaced, so completions of an earlier one stop.
  uint64_t serial_ = 0;
  std::shared_ptr<char> life_ = std::make_shared<char>(0);

  int32_t state_ = sckClosed;
  int32_t protocol_ = sckTCPProtocol;
  std::string remote_host_, remote_host_ip_;
  int32_t remote_port_ = 0;
  int32_t local_port_ = 0;
  std::string local_ip_, local_host_name_;
  int64_t bytes_received_ = 0;
  bool bound_ = false;
  int32_t pending_after_lookup_ = 0;  // 0 connect when resolved, 1 send the UDP buffer

  std::string receive_buffer_;
  std::string send_pending_;   // queued by SendData, not yet handed to the system
  std::string send_inflight_;  // handed to the system; [send_offset_, end) not yet taken
  size_t send_offset_ = 0;
  bool writing_ = false;
  size_t read_chunk_ = 64 * 1024;
};

}  // namespace net
