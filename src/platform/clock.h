// The millisecond tick count the frame loop paces itself by, and a way to give the
// processor away while waiting. The rules never read a clock any other way.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start far in the past, wrapping at 32 bits.
  virtual int32_t GetTickCount() = 0;
  // Waits about `ms` milliseconds without using the processor.
  virtual void Sleep(int32_t ms) = 0;
};

// The system's monotonic uptime in milliseconds, as a real tick count is.
std::unique_ptr<Clock> MakeSystemClock();

// Virtual milliseconds for tests and the simulator: time passes only when told to.
class VirtualClock : public Clock {
 public:
  // A real tick count is large long before a program starts; so is ours.
  static constexpr int32_t kStart = 5'000'000;
  int32_t GetTickCount() override { return now_; }
  void Sleep(int32_t ms) override { Advance(ms); }
  void Advance(int32_t ms) {
    if (ms > 0) now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + static_cast<uint32_t>(ms));
  }

 private:
  int32_t now_ = kStart;
};

}  // namespace platform
