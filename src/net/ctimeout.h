// CTimeout: raises TimeOut every TimeOutValue seconds after it was started or last reset,
// until stopped. Ticks come from the network loop, like the socket events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/net/net_loop.h"

namespace platform {
class SteadyTimer;
}

namespace net {

class CTimeout {
 public:
  explicit CTimeout(platform::NetLoop& loop);
  ~CTimeout();
  CTimeout(const CTimeout&) = delete;
  CTimeout& operator=(const CTimeout&) = delete;

  // Starts the countdown when TimeOutValue > 0 (restarts it when already running).
  // Throws error 6 (overflow) when the period does not fit in 32-bit milliseconds.
  void StartTimer();
  // Stops ticking; a later StartTimer or Reset starts again.
  void StopTimer();
  int32_t TimeOutValue() const { return seconds_; }
  void SetTimeOutValue(int32_t seconds) { seconds_ = seconds; }
  // Restarts the countdown from now, also after StopTimer; nothing before the first start.
  void Reset();
  // True while ticks are due.
  bool Running() const { return running_; }

  std::function<void()> TimeOut;

 private:
  void Arm(int64_t ms);
  void Tick();

  std::unique_ptr<platform::SteadyTimer> timer_;
  int32_t seconds_ = 0;
  int64_t period_ms_ = 0;
  bool has_identifier_ = false;  // set by the first start; Reset needs it
  bool running_ = false;
};

}  // namespace net
