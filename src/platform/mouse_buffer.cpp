// The bounded mouse-record buffer shared by the real and the scripted mouse.
#include "platform/mouse_buffer.h"

#include <algorithm>

namespace platform {

int MouseRecordBuffer::GetDeviceData(MouseRecord* out, int max) {
  if (!out || max <= 0) return 0;
  int n = std::min<int>(max, static_cast<int>(buffer_.size()));
  std::copy_n(buffer_.begin(), n, out);
  buffer_.erase(buffer_.begin(), buffer_.begin() + n);
  return n;
}

void MouseRecordBuffer::Push(MouseRecord r) {
  if (static_cast<int>(buffer_.size()) < capacity_) buffer_.push_back(r);
  // Input arrived even when the full buffer had to drop it: signal all the same, or a
  // reader that stopped reading while the buffer filled up would never hear again.
  pending_ = true;
}

void MouseRecordBuffer::SignalIfPending() {
  if (!pending_) return;
  pending_ = false;
  if (signal_) signal_();
}

}  // namespace platform
