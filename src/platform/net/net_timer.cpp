// SteadyTimer on asio::steady_timer with the generation guard of the sockets.
#include "platform/net/net_timer.h"

#include "platform/net/net_loop_impl.h"

namespace platform {

struct SteadyTimer::Impl {
  explicit Impl(asio::io_context& io) : timer(io) {}
  asio::steady_timer timer;
  uint64_t generation = 0;
  bool pending = false;
};

namespace {

void Arm(const std::shared_ptr<SteadyTimer::Impl>& self, std::function<void()> on_due) {
  self->pending = true;
  self->timer.async_wait(
      [self, gen = self->generation, on_due = std::move(on_due)](std::error_code ec) {
        if (self->generation != gen || ec) return;
        self->pending = false;
        on_due();
      });
}

}  // namespace

SteadyTimer::SteadyTimer(NetLoop& loop) : impl_(std::make_shared<Impl>(loop.impl().io)) {}

SteadyTimer::~SteadyTimer() {
  Cancel();
}

void SteadyTimer::StartAfter(int64_t ms, std::function<void()> on_due) {
  Cancel();
  impl_->timer.expires_after(std::chrono::milliseconds(ms));
  Arm(impl_, std::move(on_due));
}

void SteadyTimer::Cancel() {
  ++impl_->generation;
  impl_->pending = false;
  impl_->timer.cancel();
}

bool SteadyTimer::Pending() const {
  return impl_->pending;
}

}  // namespace platform
