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
  // Captures the pointer while the game's window has the focus: only relative motion
  // arrives then. Another window taking the focus gets the pointer back.
  bool Acquire() override;
  // The pump's side: one SDL event that concerns the mouse, mouse input as records
  // (signalled by SignalIfPending), the window's focus as capture or release.
  void Feed(const SDL_Event& event);
  // Whether the game holds the pointer now (relative mode asked of SDL).
  bool Captured() const { return acquired_ && focused_; }

 private:
  void Capture();
  bool acquired_ = false;
  bool focused_ = false;
};

}  // namespace platform
