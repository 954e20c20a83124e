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
  if (enabled && !enabled_) started_ = host_.clock_.GetTickCount();
  enabled_ = enabled;
}

void Timer::SetInterval(int32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) started_ = host_.clock_.GetTickCount();
}

int32_t Timer::DueIn() const {
  if (!enabled_ || interval_ <= 0) return -1;
  int32_t elapsed = TickDiff(host_.clock_.GetTickCount(), started_);
  return elapsed >= interval_ ? 0 : interval_ - elapsed;
}

void TimerHost::FireDue() {
  // A handler may enable, disable or re-time any timer, so walk by index over a snapshot.
  std::vector<Timer*> snapshot = timers_;
  for (Timer* t : snapshot) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    if (t->DueIn() != 0) continue;
    t->started_ = clock_.GetTickCount();
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
