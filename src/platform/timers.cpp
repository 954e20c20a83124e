// Window-timer semantics on top of the platform clock.
#include "platform/timers.h"

#include <algorithm>

#include "platform/numbers.h"

namespace platform {

Timer::Timer(TimerHost& host, std::string name, int32_t interval_ms, std::function<void()> on_tick)
    : host_(host), name_(std::move(name)), interval_(interval_ms), on_tick_(std::move(on_tick)) {
  host_.timers_.push_back(this);
}

Timer::~Timer() {
  auto& v = host_.timers_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void Timer::SetEnabled(bool enabled) {
  if (enabled && !enabled_) Restart();
  enabled_ = enabled;
}

void Timer::SetInterval(int32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) Restart();
}

void Timer::Restart() {
  due_ = static_cast<int32_t>(static_cast<uint32_t>(host_.clock_.GetTickCount()) +
                              static_cast<uint32_t>(interval_));
}

// Late pumps do not stretch the cadence: the ticks missed are dropped, and the next one
// is the first due time still ahead on the same grid.
void Timer::AdvancePast(int32_t now) {
  const int64_t late = TickDiff(now, due_);
  const int64_t steps = late / interval_ + 1;
  due_ =
      static_cast<int32_t>(static_cast<uint32_t>(due_) + static_cast<uint32_t>(steps * interval_));
}

int32_t Timer::DueIn() const {
  if (!enabled_ || interval_ <= 0) return -1;
  const int32_t left = TickDiff(due_, host_.clock_.GetTickCount());
  return left <= 0 ? 0 : left;
}

void TimerHost::FireDue() {
  // A handler may enable, disable or re-time any timer, so walk by index over a snapshot.
  std::vector<Timer*> snapshot = timers_;
  for (Timer* t : snapshot) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    if (t->DueIn() != 0) continue;
    t->AdvancePast(clock_.GetTickCount());  // before the handler, which may re-time it
    if (t->on_tick_) t->on_tick_();
  }
}

int32_t TimerHost::NextDueIn() const {
  int32_t best = -1;
  for (const Timer* t : timers_) {
    int32_t d = t->DueIn();
    if (d >= 0 && (best < 0 || d < best)) best = d;
  }
  return best;
}

}  // namespace platform
