// Window timers: named timers fired only from the message pump, on the pump's thread.
//
// Semantics (those of a window timer control):
// - enabling a disabled timer starts a fresh interval; enabling an enabled one changes nothing;
// - changing the interval of an enabled timer restarts it; an interval of 0 never fires;
// - a due timer fires once per pump even if several intervals have passed; it keeps the
//   cadence of its due times, so its next tick is the first due time after now on the grid
//   it started (a 45 ms timer pumped every 26 ms ticks at 52, 104, 156, 182 ms, not every
//   52 ms);
// - due timers fire in the order they were created, so runs are reproducible.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace platform {

class TimerHost;

class Timer {
 public:
  Timer(TimerHost& host, std::string name, int32_t interval_ms, std::function<void()> on_tick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetInterval(int32_t ms);
  int32_t Interval() const { return interval_; }
  const std::string& Name() const { return name_; }
  // Milliseconds until the next tick is due (0 when due now); -1 when it cannot fire.
  int32_t DueIn() const;

 private:
  friend class TimerHost;
  void Restart();
  void AdvancePast(int32_t now);
  TimerHost& host_;
  std::string name_;
  int32_t interval_;
  bool enabled_ = false;
  int32_t due_ = 0;  // tick count of the next tick while enabled
  std::function<void()> on_tick_;
};

class TimerHost {
 public:
  explicit TimerHost(Clock& clock) : clock_(clock) {}
  // Fires every due timer once, in creation order.
  void FireDue();
  // The shortest wait until some timer is due, or -1 when none is enabled.
  int32_t NextDueIn() const;
  Clock& clock() { return clock_; }

 private:
  friend class Timer;
  Clock& clock_;
  std::vector<Timer*> timers_;
};

}  // namespace platform
