// The keyboard state and the buffered mouse, as the input devices deliver them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace platform {

using KeyboardState = std::array<uint8_t, 256>;  // by DirectInput code; non-zero = down

class KeyboardDevice {
 public:
  virtual ~KeyboardDevice() = default;
  virtual bool Acquire() = 0;
  // Fills the whole state; false when the device cannot be read.
  virtual bool GetDeviceStateKeyboard(KeyboardState& state) = 0;
};

// One buffered mouse record: the field's offset in the mouse data format
// (0 X axis, 4 Y axis, 12 left button, 13 right, 14 middle, 8 wheel) and its value
// (relative motion for the axes, 0x80 pressed / 0 released for buttons).
struct MouseRecord {
  uint32_t offset = 0;
  int32_t data = 0;
};
namespace mouse_offset {
constexpr uint32_t X = 0, Y = 4, Wheel = 8, Button0 = 12, Button1 = 13, Button2 = 14;
}

class MouseDevice {
 public:
  virtual ~MouseDevice() = default;
  // How many records the device keeps; later records are lost once it is full.
  virtual void SetBufferSize(int records) = 0;
  // Called from the message pump whenever new records have arrived.
  virtual void SetEventNotification(std::function<void()> signal) = 0;
  virtual bool Acquire() = 0;
  // Takes up to `max` records, oldest first; returns how many; -1 when the device fails.
  virtual int GetDeviceData(MouseRecord* out, int max) = 0;
};

}  // namespace platform
