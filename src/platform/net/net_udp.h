// A UDP socket on the network loop: bind, send a datagram to an address, receive datagrams
// with their sender. Results are Winsock numbers; completions come only from the loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/net/net_loop.h"
#include "platform/net/net_tcp.h"

namespace platform {

class UdpSocket {
 public:
  using ReceiveHandler =
      std::function<void(int error, const char* data, size_t size, const NetEndpoint& from)>;
  using SendHandler = std::function<void(int error, size_t sent)>;

  explicit UdpSocket(NetLoop& loop);
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool IsOpen() const;
  int64_t Handle() const;
  int Open();
  int Bind(const std::string& ip, uint16_t port);
  void AsyncReceiveFrom(size_t max_size, ReceiveHandler on_receive);
  // `data` must stay valid until the handler runs.
  void AsyncSendTo(const char* data, size_t size, const std::string& ip, uint16_t port,
                   SendHandler on_send);
  void Close();
  int LocalEndpoint(NetEndpoint& out) const;
  // The largest datagram we offer to send or receive.
  static constexpr size_t kMaxDatagram = 65507;

  struct Impl;

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace platform
