// UdpSocket on Asio, with the same generation guard as the TCP socket.
#include "platform/net/net_udp.h"

#include <vector>

#include "platform/net/net_errors.h"
#include "platform/net/net_loop_impl.h"

namespace platform {

using asio::ip::udp;

struct UdpSocket::Impl {
  explicit Impl(asio::io_context& io) : socket(io) {}
  udp::socket socket;
  udp::endpoint sender;
  uint64_t generation = 0;
  std::vector<char> read_buffer;
};

UdpSocket::UdpSocket(NetLoop& loop) : impl_(std::make_shared<Impl>(loop.impl().io)) {}

UdpSocket::~UdpSocket() {
  Close();
}

bool UdpSocket::IsOpen() const {
  return impl_->socket.is_open();
}

int64_t UdpSocket::Handle() const {
  return impl_->socket.is_open() ? impl_->socket.native_handle() : -1;
}

int UdpSocket::Open() {
  if (IsOpen()) return 0;
  std::error_code ec;
  impl_->socket.open(udp::v4(), ec);
  return WinsockError(ec);
}

int UdpSocket::Bind(const std::string& ip, uint16_t port) {
  std::error_code ec;
  auto address = ip.empty() ? asio::ip::address_v4::any() : asio::ip::make_address_v4(ip, ec);
  if (ec) return 10049;
  if (int err = Open()) return err;
  impl_->socket.bind(udp::endpoint(address, port), ec);
  return WinsockError(ec);
}

void UdpSocket::AsyncReceiveFrom(size_t max_size, ReceiveHandler on_receive) {
  auto self = impl_;
  if (self->read_buffer.size() < max_size) self->read_buffer.resize(max_size);
  self->socket.async_receive_from(
      asio::buffer(self->read_buffer.data(), max_size), self->sender,
      [self, gen = self->generation, on_receive = std::move(on_receive)](std::error_code ec,
                                                                         size_t n) {
        if (self->generation != gen) return;
        NetEndpoint from{self->sender.address().to_string(), self->sender.port()};
        on_receive(WinsockError(ec), self->read_buffer.data(), n, from);
      });
}

void UdpSocket::AsyncSendTo(const char* data, size_t size, const std::string& ip, uint16_t port,
                            SendHandler on_send) {
  auto self = impl_;
  std::error_code ec;
  auto address = asio::ip::make_address_v4(ip, ec);
  if (ec) {
    asio::post(self->socket.get_executor(),
               [self, gen = self->generation, on_send = std::move(on_send)] {
                 if (self->generation == gen) on_send(10049, 0);
               });
    return;
  }
  if (int err = Open()) {
    asio::post(self->socket.get_executor(),
               [self, gen = self->generation, err, on_send = std::move(on_send)] {
                 if (self->generation == gen) on_send(err, 0);
               });
    return;
  }
  self->socket.async_send_to(
      asio::buffer(data, size), udp::endpoint(address, port),
      [self, gen = self->generation, on_send = std::move(on_send)](std::error_code ec, size_t n) {
        if (self->generation == gen) on_send(WinsockError(ec), n);
      });
}

void UdpSocket::Close() {
  ++impl_->generation;
  std::error_code ignored;
  if (impl_->socket.is_open()) impl_->socket.close(ignored);
}

int UdpSocket::LocalEndpoint(NetEndpoint& out) const {
  std::error_code ec;
  auto ep = impl_->socket.local_endpoint(ec);
  if (ec) return WinsockError(ec);
  out.ip = ep.address().to_string();
  out.port = ep.port();
  return 0;
}

}  // namespace platform
