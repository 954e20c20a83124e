// A one-shot timer on the network loop's steady clock; its handler runs from the loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/net/net_loop.h"

namespace platform {

class SteadyTimer {
 public:
  explicit SteadyTimer(NetLoop& loop);
  ~SteadyTimer();
  SteadyTimer(const SteadyTimer&) = delete;
  SteadyTimer& operator=(const SteadyTimer&) = delete;

  // (Re)arms the timer `ms` milliseconds from now; a pending expiry is forgotten.
  void StartAfter(int64_t ms, std::function<void()> on_due);
  void Cancel();
  bool Pending() const;

  struct Impl;

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace platform
