// CSocket's methods and properties: everything a caller starts. The completions they lead
// to are in csocket_events.cpp.
#include "net/csocket.h"

#include <algorithm>
#include <cstring>

#include "platform/net/net_resolve.h"
#include "platform/net/net_tcp.h"
#include "platform/net/net_udp.h"

namespace net {
namespace {

const char kWrongState[] =
    "Wrong protocol or connection state for the requested transaction or request.";

// A Long port stored into the 16-bit network field.
uint16_t PortField(int32_t port, const char* source) {
  if (port < 0 || port > 65535) throw NetError(kErrOverflow, source, "Overflow");
  return static_cast<uint16_t>(port);
}

[[noreturn]] void ThrowSocketError(int error, const char* source) {
  throw NetError(error, source, GetErrorDescription(error));
}

template <class T>
std::string BytesOf(T value) {
  std::string bytes(sizeof(T), '\0');
  std::memcpy(bytes.data(), &value, sizeof(T));  // the machine is little-endian, as the wire
  return bytes;
}

size_t TakeCount(size_t available, int32_t max_len) {
  return max_len > 0 ? std::min(available, static_cast<size_t>(max_len)) : available;
}

}  // namespace

CSocket::CSocket(platform::NetLoop& loop)
    : loop_(loop), resolver_(std::make_unique<platform::Resolver>(loop)) {}

CSocket::~CSocket() {
  life_.reset();
  DestroySocket();
}

int32_t CSocket::SocketHandle() const {
  if (tcp_ && tcp_->IsOpen()) return static_cast<int32_t>(tcp_->Handle());
  if (udp_ && udp_->IsOpen()) return static_cast<int32_t>(udp_->Handle());
  return -1;
}

void CSocket::SetRemoteHost(const std::string& host) {
  remote_host_ = host;
  remote_host_ip_ = platform::IsDottedAddress(host) ? host : std::string();
}

int32_t CSocket::vbSocket() {
  int error = 0;
  if (protocol_ == sckUDPProtocol) {
    if (!udp_) udp_ = std::make_unique<platform::UdpSocket>(loop_);
    if (!udp_->IsOpen()) {
      error = udp_->Open();
      if (!error) StartUdpReceive();
    }
  } else {
    if (!tcp_) tcp_ = std::make_unique<platform::TcpSocket>(loop_);
    error = tcp_->Open();
  }
  if (error) ThrowSocketError(error, "CSocket.vbSocket");
  return SocketHandle();
}

void CSocket::Connect() {
  StartConnect();
}

void CSocket::Connect(const std::string& strRemoteHost) {
  if (!strRemoteHost.empty()) SetRemoteHost(strRemoteHost);
  StartConnect();
}

void CSocket::Connect(const std::string& strRemoteHost, int32_t lngRemotePort) {
  if (!strRemoteHost.empty()) SetRemoteHost(strRemoteHost);
  remote_port_ = lngRemotePort;
  StartConnect();
}

void CSocket::StartConnect() {
  if (protocol_ != sckTCPProtocol) throw NetError(40006, "CSocket.Connect", kWrongState);
  PortField(remote_port_, "CSocket.Connect");
  if (state_ == sckConnected) ThrowSocketError(10056, "CSocket.Connect");
  if (state_ >= sckResolvingHost && state_ <= sckConnecting) {
    ThrowSocketError(10037, "CSocket.Connect");
  }
  if (remote_host_.empty()) ThrowSocketError(10039, "CSocket.Connect");
  vbSocket();
  if (platform::IsDottedAddress(remote_host_)) {
    ConnectTo(remote_host_);
    return;
  }
  state_ = sckResolvingHost;
  pending_after_lookup_ = 0;
  resolver_->AsyncResolve(
      remote_host_, [this](int error, const std::string& address) { OnResolved(error, address); });
}

void CSocket::ConnectTo(const std::string& ip) {
  remote_host_ip_ = ip;
  state_ = sckConnecting;
  tcp_->AsyncConnect(ip, static_cast<uint16_t>(remote_port_),
                     [this](int error) { OnTcpConnected(error); });
}

void CSocket::Bind(int32_t lngLocalPort, const std::string& strLocalIP) {
  const uint16_t port = PortField(lngLocalPort, "CSocket.Bind");
  vbSocket();
  int error =
      protocol_ == sckUDPProtocol ? udp_->Bind(strLocalIP, port) : tcp_->Bind(strLocalIP, port);
  if (error) ThrowSocketError(error, "CSocket.Bind");
  bound_ = true;
  state_ = sckOpen;
  ReadLocalEnd();
}

void CSocket::Listen() {
  if (protocol_ != sckTCPProtocol) throw NetError(40006, "CSocket.Listen", kWrongState);
  const uint16_t port = PortField(local_port_, "CSocket.Listen");
  vbSocket();
  int error = bound_ ? 0 : tcp_->Bind("", port);
  if (!error) error = tcp_->Listen(5);
  if (error) {
    state_ = sckError;
    ThrowSocketError(error, "CSocket.Listen");
  }
  bound_ = true;
  state_ = sckListening;
  ReadLocalEnd();
  StartAccepting();
}

void CSocket::Accept(int32_t requestID) {
  auto peer = loop_.ClaimAccepted(requestID);
  if (!peer) ThrowSocketError(10038, "CSocket.Accept");
  DestroySocket();
  protocol_ = sckTCPProtocol;
  tcp_ = std::move(peer);
  state_ = sckConnected;
  ReadLocalEnd();
  platform::NetEndpoint remote;
  if (tcp_->RemoteEndpoint(remote) == 0) {
    remote_host_ip_ = remote.ip;
    remote_port_ = remote.port;
  }
  StartReading();
}

void CSocket::SendData(uint8_t value) {
  SendData(BytesOf(value));
}
void CSocket::SendData(int16_t value) {
  SendData(BytesOf(value));
}
void CSocket::SendData(int32_t value) {
  SendData(BytesOf(value));
}
void CSocket::SendData(float value) {
  SendData(BytesOf(value));
}
void CSocket::SendData(double value) {
  SendData(BytesOf(value));
}
void CSocket::SendData(const std::string& data) {
  SendData(data.data(), data.size());
}
void CSocket::SendData(const char* data) {
  SendData(data, std::strlen(data));
}
void CSocket::SendData(const std::vector<uint8_t>& data) {
  SendData(reinterpret_cast<const char*>(data.data()), data.size());
}

void CSocket::SendData(const char* data, size_t size) {
  if (protocol_ == sckUDPProtocol) {
    vbSocket();
    send_pending_.append(data, size);
    if (!writing_) StartUdpSend();
    return;
  }
  if (!tcp_ || !tcp_->IsOpen()) throw NetError(40006, "CSocket.SendData", kWrongState);
  if (state_ != sckConnected) ThrowSocketError(10057, "CSocket.SendData");
  send_pending_.append(data, size);
  if (!writing_) StartWrite();
}

void CSocket::SendData(std::string&& data) {
  if (protocol_ == sckTCPProtocol && send_pending_.empty() && tcp_ && tcp_->IsOpen() &&
      state_ == sckConnected) {
    send_pending_.swap(data);
    data.clear();
    if (!writing_) StartWrite();
    return;
  }
  SendData(data.data(), data.size());
  data.clear();
}

void CSocket::GetData(std::string& data, int32_t maxLen) {
  const size_t n = TakeCount(receive_buffer_.size(), maxLen);
  if (n == receive_buffer_.size()) {
    data.swap(receive_buffer_);
    receive_buffer_.clear();
  } else {
    data.assign(receive_buffer_, 0, n);
    receive_buffer_.erase(0, n);
  }
}

void CSocket::GetData(std::vector<uint8_t>& data, int32_t maxLen) {
  PeekData(data, maxLen);
  receive_buffer_.erase(0, data.size());
}

void CSocket::PeekData(std::string& data, int32_t maxLen) const {
  data.assign(receive_buffer_, 0, TakeCount(receive_buffer_.size(), maxLen));
}

void CSocket::PeekData(std::vector<uint8_t>& data, int32_t maxLen) const {
  const size_t n = TakeCount(receive_buffer_.size(), maxLen);
  data.assign(receive_buffer_.begin(), receive_buffer_.begin() + static_cast<ptrdiff_t>(n));
}

void CSocket::Shutdown(int32_t how) {
  if (!tcp_ || !tcp_->IsOpen()) ThrowSocketError(10038, "CSocket.Shutdown");
  if (int error = tcp_->Shutdown(how)) ThrowSocketError(error, "CSocket.Shutdown");
}

void CSocket::CloseSocket() {
  if (SocketHandle() == -1 && state_ != sckResolvingHost) {
    state_ = sckClosed;
    return;
  }
  if (state_ == sckConnected) {
    state_ = sckClosing;
    if (int error = tcp_->Shutdown(1); error && error != 10057) {
      DestroySocket();
      state_ = sckClosed;
      ThrowSocketError(error, "CSocket.CloseSocket");
    }
  }
  DestroySocket();
  state_ = sckClosed;
}

void CSocket::DestroySocket() {
  ++serial_;
  if (resolver_) resolver_->Cancel();
  tcp_.reset();
  udp_.reset();
  bound_ = false;
  writing_ = false;
  send_pending_.clear();
  send_inflight_.clear();
  send_offset_ = 0;
}

size_t CSocket::Unsent() const {
  return send_inflight_.size() - send_offset_ + send_pending_.size();
}

}  // namespace net
