// The real keyboard (SDL's key state through the scancode table) and the real mouse
// (relative motion and buttons as buffered records, fed by the pump). Internal to platform/.
#pragma once

#include <SDL.h>

#include "platform/input.h"
#include "platform/mouse_buffer.h"

namespace platform {

class SdlKeyboard : public KeyboardDevice {
 public:
  bool Acquire() override { return true; }
  bool GetDeviceStateKeyboard(KeyboardState& state) override;
};

class SdlMouse : public MouseRecordBuffer {
 public:
  // Captures the pointer: from now on only relative motion arrives.
  bool Acquire() override;
  // The pump's side: one SDL mouse event as records (signalled by SignalIfPending).
  void Feed(const SDL_Event& event);
};

}  // namespace platform
