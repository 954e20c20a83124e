// TcpSocket on Asio. Every asynchronous handler holds the shared state alive and carries the
// generation it was started in: a Close() bumps the generation, so late completions of a
// closed (or destroyed) socket are dropped instead of reaching a handler that is gone.
#include "platform/net/net_tcp.h"

#include <vector>

#include "platform/net/net_errors.h"
#include "platform/net/net_loop_impl.h"

namespace platform {

using asio::ip::tcp;

struct TcpSocket::Impl {
  explicit Impl(asio::io_context& io) : socket(io), acceptor(io) {}
  tcp::socket socket;
  tcp::acceptor acceptor;
  uint64_t generation = 0;
  std::vector<char> read_buffer;
};

namespace {

std::string DottedOf(const asio::ip::address& address) {
  return address.is_v4() ? address.to_v4().to_string() : address.to_string();
}

int ParseAddress(const std::string& ip, asio::ip::address_v4& out) {
  if (ip.empty()) {
    out = asio::ip::address_v4::any();
    return 0;
  }
  std::error_code ec;
  out = asio::ip::make_address_v4(ip, ec);
  return ec ? 10049 : 0;
}

int EndpointOf(const tcp::endpoint& ep, const std::error_code& ec, NetEndpoint& out) {
  if (ec) return WinsockError(ec);
  out.ip = DottedOf(ep.address());
  out.port = ep.port();
  return 0;
}

}  // namespace

TcpSocket::TcpSocket(NetLoop& loop) : loop_(loop), impl_(std::make_shared<Impl>(loop.impl().io)) {}

TcpSocket::~TcpSocket() {
  Close();
}

bool TcpSocket::IsOpen() const {
  return impl_->socket.is_open() || impl_->acceptor.is_open();
}

bool TcpSocket::IsListening() const {
  return impl_->acceptor.is_open();
}

int64_t TcpSocket::Handle() const {
  if (impl_->socket.is_open()) return impl_->socket.native_handle();
  if (impl_->acceptor.is_open()) return impl_->acceptor.native_handle();
  return -1;
}

int TcpSocket::Open() {
  if (IsOpen()) return 0;
  std::error_code ec;
  impl_->socket.open(tcp::v4(), ec);
  return WinsockError(ec);
}

int TcpSocket::Bind(const std::string& ip, uint16_t port) {
  if (impl_->acceptor.is_open()) return 10022;
  asio::ip::address_v4 address;
  if (int err = ParseAddress(ip, address)) return err;
  if (int err = Open()) return err;
  std::error_code ec;
  impl_->socket.bind(tcp::endpoint(address, port), ec);
  return WinsockError(ec);
}

int TcpSocket::Listen(int backlog) {
  std::error_code ec;
  if (!impl_->acceptor.is_open()) {
    if (impl_->socket.is_open()) {
      // A bound stream socket becomes the listening one, keeping its address.
      auto native = impl_->socket.release(ec);
      if (!ec) impl_->acceptor.assign(tcp::v4(), native, ec);
    } else {
      impl_->acceptor.open(tcp::v4(), ec);
    }
    if (ec) return WinsockError(ec);
  }
  impl_->acceptor.listen(backlog, ec);
  return WinsockError(ec);
}

void TcpSocket::AsyncAccept(AcceptHandler on_accept) {
  auto self = impl_;
  NetLoop* loop = &loop_;
  impl_->acceptor.async_accept(
      [self, gen = self->generation, loop, on_accept = std::move(on_accept)](std::error_code ec,
                                                                             tcp::socket peer) {
        if (self->generation != gen) return;
        std::unique_ptr<TcpSocket> accepted;
        if (!ec) {
          accepted = std::make_unique<TcpSocket>(*loop);
          accepted->impl_->socket = std::move(peer);
        }
        on_accept(WinsockError(ec), std::move(accepted));
      });
}

void TcpSocket::AsyncConnect(const std::string& ip, uint16_t port, ConnectHandler on_connect) {
  auto self = impl_;
  asio::ip::address_v4 address;
  if (int err = ParseAddress(ip, address); err || ip.empty()) {
    if (!err) err = 10049;
    asio::post(self->socket.get_executor(),
               [self, gen = self->generation, err, on_connect = std::move(on_connect)] {
                 if (self->generation == gen) on_connect(err);
               });
    return;
  }
  impl_->socket.async_connect(
      tcp::endpoint(address, port),
      [self, gen = self->generation, on_connect = std::move(on_connect)](std::error_code ec) {
        if (self->generation == gen) on_connect(WinsockError(ec));
      });
}

void TcpSocket::AsyncRead(size_t max_size, ReadHandler on_read) {
  auto self = impl_;
  if (self->read_buffer.size() < max_size) self->read_buffer.resize(max_size);
  self->socket.async_read_some(
      asio::buffer(self->read_buffer.data(), max_size),
      [self, gen = self->generation, on_read = std::move(on_read)](std::error_code ec, size_t n) {
        if (self->generation != gen) return;
        on_read(WinsockError(ec), self->read_buffer.data(), n);
      });
}

void TcpSocket::AsyncWrite(const char* data, size_t size, WriteHandler on_write) {
  auto self = impl_;
  self->socket.async_write_some(
      asio::buffer(data, size),
      [self, gen = self->generation, on_write = std::move(on_write)](std::error_code ec, size_t n) {
        if (self->generation == gen) on_write(WinsockError(ec), n);
      });
}

int TcpSocket::Shutdown(int how) {
  if (!impl_->socket.is_open()) return 10057;
  const auto type = how == 0   ? tcp::socket::shutdown_receive
                    : how == 1 ? tcp::socket::shutdown_send
                               : tcp::socket::shutdown_both;
  std::error_code ec;
  impl_->socket.shutdown(type, ec);
  return WinsockError(ec);
}

void TcpSocket::Close() {
  ++impl_->generation;
  std::error_code ignored;
  if (impl_->socket.is_open()) impl_->socket.close(ignored);
  if (impl_->acceptor.is_open()) impl_->acceptor.close(ignored);
}

int TcpSocket::LocalEndpoint(NetEndpoint& out) const {
  std::error_code ec;
  if (impl_->acceptor.is_open()) return EndpointOf(impl_->acceptor.local_endpoint(ec), ec, out);
  return EndpointOf(impl_->socket.local_endpoint(ec), ec, out);
}

int TcpSocket::RemoteEndpoint(NetEndpoint& out) const {
  std::error_code ec;
  return EndpointOf(impl_->socket.remote_endpoint(ec), ec, out);
}

int TcpSocket::ReceiveBufferSize() const {
  asio::socket_base::receive_buffer_size option;
  std::error_code ec;
  impl_->socket.get_option(option, ec);
  return ec ? 0 : option.value();
}

int TcpSocket::SendBufferSize() const {
  asio::socket_base::send_buffer_size option;
  std::error_code ec;
  impl_->socket.get_option(option, ec);
  return ec ? 0 : option.value();
}

}  // namespace platform
