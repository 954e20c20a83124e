// CSocket's side of the network loop: completions of look-ups, connects, reads, writes and
// accepts turned into the socket's events. A handler may close or even destroy the socket
// from inside an event, so after every event we check that we still exist and still own
// the same system socket before touching anything.
#include <algorithm>

#include "net/csocket.h"
#include "platform/net/net_errors.h"
#include "platform/net/net_resolve.h"
#include "platform/net/net_tcp.h"
#include "platform/net/net_udp.h"

namespace net {

template <class Event, class... Args>
bool CSocket::Raise(const Event& event, Args&&... args) {
  std::weak_ptr<char> token = life_;
  if (event) {
    auto handler = event;  // the handler may replace or destroy the member it came from
    handler(std::forward<Args>(args)...);
  }
  return Alive(token);
}

void CSocket::FailWith(int error, const std::string& source) {
  state_ = sckError;
  DestroySocket();
  bool cancel_display = false;
  Raise(OnError, static_cast<int16_t>(error), GetErrorDescription(error), 0, source, std::string(),
        0, cancel_display);
}

// A dotted address never comes here (it needs no look-up), so a failed look-up is final.
void CSocket::OnResolved(int error, const std::string& address) {
  if (error) return FailWith(error, "CSocket.PostGetHostEvent");
  state_ = sckHostResolved;
  if (pending_after_lookup_ == 1) {
    remote_host_ip_ = address;
    state_ = sckOpen;
    StartUdpSend();
  } else {
    ConnectTo(address);
  }
}

void CSocket::OnTcpConnected(int error) {
  if (error) return FailWith(error, std::string());
  ReadLocalEnd();
  state_ = sckConnected;
  StartReading();
  Raise(OnConnect);
}

void CSocket::ReadLocalEnd() {
  platform::NetEndpoint local;
  int error = 1;
  if (tcp_) error = tcp_->LocalEndpoint(local);
  if (udp_ && error) error = udp_->LocalEndpoint(local);
  if (error) return;
  local_port_ = local.port;
  local_ip_ = local.ip;
  local_host_name_ = local.ip;  // a reverse look-up would block; the address names us
}

void CSocket::StartReading() {
  const int system_size = tcp_->ReceiveBufferSize();
  read_chunk_ = std::clamp<size_t>(system_size > 0 ? system_size : 0, 8 * 1024, 256 * 1024);
  tcp_->AsyncRead(read_chunk_, [this, serial = serial_](int error, const char* data, size_t n) {
    OnTcpRead(serial, error, data, n);
  });
}

void CSocket::OnTcpRead(uint64_t serial, int error, const char* data, size_t size) {
  if (error == platform::kEndOfStream) {
    // Every byte before the close has already been handed out by earlier arrivals.
    state_ = sckClosing;
    DestroySocket();
    state_ = sckClosed;
    Raise(OnClose);
    return;
  }
  if (error) return FailWith(error, std::string());
  receive_buffer_.append(data, size);
  bytes_received_ += static_cast<int64_t>(size);
  if (!Raise(OnDataArrival,
             static_cast<int32_t>(std::min<size_t>(receive_buffer_.size(), INT32_MAX)))) {
    return;
  }
  if (serial == serial_ && state_ == sckConnected) StartReading();
}

void CSocket::StartAccepting() {
  tcp_->AsyncAccept([this, serial = serial_](int error, std::unique_ptr<platform::TcpSocket> peer) {
    const int32_t id = error ? 0 : loop_.ParkAccepted(std::move(peer));
    OnAccepted(serial, error, id);
  });
}

void CSocket::OnAccepted(uint64_t serial, int error, int32_t request_id) {
  if (error) return FailWith(error, std::string());
  platform::NetLoop& loop = loop_;
  const bool alive = Raise(OnConnectionRequest, request_id);
  // A connection nobody took in the event is closed, never left hanging.
  loop.DropAccepted(request_id);
  if (alive && serial == serial_ && state_ == sckListening) StartAccepting();
}

void CSocket::StartWrite() {
  if (send_offset_ >= send_inflight_.size()) {
    send_inflight_.clear();
    send_offset_ = 0;
    send_inflight_.swap(send_pending_);
  }
  writing_ = true;
  tcp_->AsyncWrite(
      send_inflight_.data() + send_offset_, send_inflight_.size() - send_offset_,
      [this, serial = serial_](int error, size_t written) { OnWritten(serial, error, written); });
}

void CSocket::OnWritten(uint64_t serial, int error, size_t written) {
  writing_ = false;
  if (error) return FailWith(error, std::string());
  send_offset_ += written;
  const auto remaining = static_cast<int32_t>(std::min<size_t>(Unsent(), INT32_MAX));
  if (!Raise(OnSendProgress, static_cast<int32_t>(written), remaining)) return;
  if (serial != serial_ || writing_) return;  // closed, or the handler sent more already
  if (Unsent() > 0) return StartWrite();
  send_inflight_.clear();
  send_offset_ = 0;
  Raise(OnSendComplete);
}

void CSocket::StartUdpReceive() {
  udp_->AsyncReceiveFrom(platform::UdpSocket::kMaxDatagram,
                         [this, serial = serial_](int error, const char* data, size_t n,
                                                  const platform::NetEndpoint& from) {
                           if (error) return FailWith(error, std::string());
                           receive_buffer_.append(data, n);
                           bytes_received_ += static_cast<int64_t>(n);
                           remote_port_ = from.port;
                           remote_host_ip_ = from.ip;
                           remote_host_ = from.ip;
                           if (!Raise(OnDataArrival, static_cast<int32_t>(receive_buffer_.size())))
                             return;
                           if (serial == serial_ && udp_ && udp_->IsOpen()) StartUdpReceive();
                         });
}

void CSocket::StartUdpSend() {
  if (remote_host_ip_.empty()) {
    state_ = sckResolvingHost;
    pending_after_lookup_ = 1;
    resolver_->AsyncResolve(remote_host_, [this](int error, const std::string& address) {
      OnResolved(error, address);
    });
    return;
  }
  const uint16_t port = static_cast<uint16_t>(std::clamp(remote_port_, 0, 65535));
  send_inflight_.swap(send_pending_);
  send_pending_.clear();
  writing_ = true;
  udp_->AsyncSendTo(send_inflight_.data(), send_inflight_.size(), remote_host_ip_, port,
                    [this, serial = serial_](int error, size_t sent) {
                      writing_ = false;
                      if (error) return FailWith(error, std::string());
                      send_inflight_.clear();
                      if (!Raise(OnSendProgress, static_cast<int32_t>(sent),
                                 static_cast<int32_t>(send_pending_.size()))) {
                        return;
                      }
                      if (serial != serial_ || writing_) return;
                      if (!send_pending_.empty()) return StartUdpSend();
                      Raise(OnSendComplete);
                    });
}

}  // namespace net
