// Resolver on asio::ip::tcp::resolver (Asio runs the system look-up off the loop thread and
// hands the answer back through the loop).
#include "platform/net/net_resolve.h"

#include "platform/net/net_errors.h"
#include "platform/net/net_loop_impl.h"

namespace platform {

using asio::ip::tcp;

struct Resolver::Impl {
  explicit Impl(asio::io_context& io) : resolver(io) {}
  tcp::resolver resolver;
  uint64_t generation = 0;
  bool pending = false;
};

bool IsDottedAddress(const std::string& text) {
  std::error_code ec;
  (void)asio::ip::make_address_v4(text, ec);
  return !ec;
}

Resolver::Resolver(NetLoop& loop) : impl_(std::make_shared<Impl>(loop.impl().io)) {}

Resolver::~Resolver() {
  Cancel();
}

void Resolver::AsyncResolve(const std::string& host, Handler on_resolved) {
  Cancel();
  auto self = impl_;
  self->pending = true;
  self->resolver.async_resolve(tcp::v4(), host, "",
                               [self, gen = self->generation, on_resolved = std::move(on_resolved)](
                                   std::error_code ec, tcp::resolver::results_type results) {
                                 if (self->generation != gen) return;
                                 self->pending = false;
                                 if (!ec && results.empty()) ec = asio::error::host_not_found;
                                 if (ec) return on_resolved(WinsockError(ec), std::string());
                                 on_resolved(0, results.begin()->endpoint().address().to_string());
                               });
}

void Resolver::Cancel() {
  ++impl_->generation;
  impl_->pending = false;
  impl_->resolver.cancel();
}

bool Resolver::Pending() const {
  return impl_->pending;
}

}  // namespace platform
