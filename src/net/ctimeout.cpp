// CTimeout on the loop's steady timer. The period is read at each start or reset, so a
// new TimeOutValue does not touch a running countdown.
#include "net/ctimeout.h"

#include "net/net_error.h"
#include "platform/net/net_timer.h"

namespace net {
namespace {

// The period in milliseconds, or -1 when it leaves a 32-bit signed Long.
int64_t PeriodMs(int32_t seconds) {
  const int64_t ms = static_cast<int64_t>(seconds) * 1000;
  return ms > INT32_MAX ? -1 : ms;
}

}  // namespace

CTimeout::CTimeout(platform::NetLoop& loop)
    : timer_(std::make_unique<platform::SteadyTimer>(loop)) {}

CTimeout::~CTimeout() {
  timer_->Cancel();
}

void CTimeout::StartTimer() {
  if (seconds_ <= 0) return;
  const int64_t ms = PeriodMs(seconds_);
  if (ms < 0) throw NetError(kErrOverflow, "CTimeout.StartTimer", "Overflow");
  has_identifier_ = true;
  Arm(ms);
}

void CTimeout::StopTimer() {
  if (!has_identifier_) return;
  timer_->Cancel();
  running_ = false;
}

void CTimeout::Reset() {
  if (!has_identifier_) return;
  const int64_t ms = PeriodMs(seconds_);
  if (ms <= 0) return;  // no period to count: no timer is set
  Arm(ms);
}

void CTimeout::Arm(int64_t ms) {
  period_ms_ = ms;
  running_ = true;
  timer_->StartAfter(ms, [this] { Tick(); });
}

void CTimeout::Tick() {
  // Periodic: the next interval starts when this one fires.
  timer_->StartAfter(period_ms_, [this] { Tick(); });
  if (TimeOut) {
    auto handler = TimeOut;  // the handler may destroy us; nothing follows the call
    handler();
  }
}

}  // namespace net
