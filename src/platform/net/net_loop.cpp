// The network loop: an Asio io_context run on the caller's thread, and the parking place of
// accepted connections.
#include "platform/net/net_loop.h"

#include <chrono>

#include "platform/net/net_loop_impl.h"

namespace platform {

NetLoop::NetLoop() : impl_(std::make_unique<Impl>()) {}

NetLoop::~NetLoop() {
  impl_->parked.clear();
  impl_->work.reset();
}

size_t NetLoop::Poll() {
  impl_->io.restart();
  return impl_->io.poll();
}

size_t NetLoop::RunOne(int32_t max_ms) {
  impl_->io.restart();
  return impl_->io.run_one_for(std::chrono::milliseconds(max_ms < 0 ? 0 : max_ms));
}

size_t NetLoop::RunFor(int32_t ms) {
  impl_->io.restart();
  return impl_->io.run_for(std::chrono::milliseconds(ms < 0 ? 0 : ms));
}

void NetLoop::Post(std::function<void()> work) {
  asio::post(impl_->io, std::move(work));
}

int32_t NetLoop::ParkAccepted(std::unique_ptr<TcpSocket> peer) {
  const auto id = static_cast<int32_t>(peer->Handle());
  impl_->parked[id] = std::move(peer);
  return id;
}

std::unique_ptr<TcpSocket> NetLoop::ClaimAccepted(int32_t request_id) {
  auto it = impl_->parked.find(request_id);
  if (it == impl_->parked.end()) return nullptr;
  auto peer = std::move(it->second);
  impl_->parked.erase(it);
  return peer;
}

bool NetLoop::AcceptedPeer(int32_t request_id, NetEndpoint& out) const {
  auto it = impl_->parked.find(request_id);
  return it != impl_->parked.end() && it->second->RemoteEndpoint(out) == 0;
}

void NetLoop::DropAccepted(int32_t request_id) {
  impl_->parked.erase(request_id);
}

}  // namespace platform
