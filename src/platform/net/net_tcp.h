// A TCP socket on the network loop, without Asio in sight: connect, bind, listen, accept,
// read, write, shut down. Results are Winsock numbers (net_errors.h). Completions arrive
// only from the loop, never from inside the call that started them; closing or destroying
// the socket silently drops the completions still outstanding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/net/net_loop.h"

namespace platform {

struct NetEndpoint {
  std::string ip;  // dotted IPv4 address
  uint16_t port = 0;
};

class TcpSocket {
 public:
  using ConnectHandler = std::function<void(int error)>;
  // `data` is valid only during the call; error kEndOfStream when the peer closed.
  using ReadHandler = std::function<void(int error, const char* data, size_t size)>;
  using WriteHandler = std::function<void(int error, size_t written)>;
  using AcceptHandler = std::function<void(int error, std::unique_ptr<TcpSocket> peer)>;

  explicit TcpSocket(NetLoop& loop);
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  bool IsOpen() const;
  bool IsListening() const;
  // The system's handle of the socket, -1 when there is none.
  int64_t Handle() const;

  int Open();  // a fresh IPv4 stream socket (a no-op when one is open)
  int Bind(const std::string& ip, uint16_t port);  // "" binds every local address
  int Listen(int backlog);                         // binds to any port first if need be
  void AsyncAccept(AcceptHandler on_accept);
  void AsyncConnect(const std::string& ip, uint16_t port, ConnectHandler on_connect);
  // Reads what is there, up to `max_size` bytes.
  void AsyncRead(size_t max_size, ReadHandler on_read);
  // Writes as much of [data, data + size) as the system takes at once; `data` must stay
  // valid until the handler runs.
  void AsyncWrite(const char* data, size_t size, WriteHandler on_write);
  int Shutdown(int how);  // 0 receiving, 1 sending, 2 both
  void Close();

  int LocalEndpoint(NetEndpoint& out) const;
  int RemoteEndpoint(NetEndpoint& out) const;
  int ReceiveBufferSize() const;  // SO_RCVBUF, 0 when unknown
  int SendBufferSize() const;     // SO_SNDBUF, 0 when unknown

  struct Impl;

 private:
  NetLoop& loop_;
  std::shared_ptr<Impl> impl_;
};

}  // namespace platform
