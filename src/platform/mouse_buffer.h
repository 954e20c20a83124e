// The buffered mouse both machines deliver: records kept oldest first up to the buffer
// size, and the notification the pump raises after a round in which records arrived.
#pragma once

#include <deque>
#include <functional>

#include "platform/input.h"

namespace platform {

class MouseRecordBuffer : public MouseDevice {
 public:
  void SetBufferSize(int records) override { capacity_ = records; }
  void SetEventNotification(std::function<void()> signal) override { signal_ = std::move(signal); }
  bool Acquire() override { return true; }
  int GetDeviceData(MouseRecord* out, int max) override;
  // Queues a record as the device would (dropped when the buffer is full); the pump
  // signals it on its next round.
  void Push(MouseRecord r);
  // Called by the pump: signals when records arrived since the last signal.
  void SignalIfPending();

 private:
  std::deque<MouseRecord> buffer_;
  int capacity_ = 0;  // 0 until set: the device then keeps nothing
  bool pending_ = false;
  std::function<void()> signal_;
};

}  // namespace platform
