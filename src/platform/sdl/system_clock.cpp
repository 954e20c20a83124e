// The real tick count: the system's monotonic uptime in milliseconds, wrapping at 32 bits
// as a real tick counter does, and sleeping that hands the processor back.
#include <time.h>

#include <cerrno>

#include "platform/clock.h"

namespace platform {
namespace {

class SystemClock : public Clock {
 public:
  int32_t GetTickCount() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1'000'000u;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
  }

  void Sleep(int32_t ms) override {
    if (ms <= 0) return;
    timespec wait{ms / 1000, static_cast<long>(ms % 1000) * 1'000'000L};
    timespec left{};
    // A signal cuts the wait short; carry on with what is left of it.
    while (nanosleep(&wait, &left) != 0 && errno == EINTR) wait = left;
  }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
  return std::make_unique<SystemClock>();
}

}  // namespace platform
