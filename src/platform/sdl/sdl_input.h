// The real keyboard (SDL's key state through the scancode table) and the real mouse
// (relative motion and buttons as buffered records, fed by the pump). Internal to platform/.
#pragma once

#include <SDL.h>

#include "platform/headless/headless.h"
#include "platform/input.h"

namespace platform {

class SdlKeyboard : public KeyboardDevice {
 public:
  bool Acquire() override { return true; }
  bool GetDeviceStateKeyboard(KeyboardState& state) override;
};

class SdlMouse : public MouseDevice {
 public:
  void SetBufferSize(int records) override { buffer_.SetBufferSize(records); }
  void SetEventNotification(std::function<void()> signal) override {
    buffer_.SetEventNotification(std::move(signal));
  }
  // Captures the pointer: from now on only relative motion arrives.
  bool Acquire() override;
  int GetDeviceData(MouseRecord* out, int max) override { return buffer_.GetDeviceData(out, max); }

  // The pump's side: one SDL mouse event as records, and the signal after a round.
  void Feed(const SDL_Event& event);
  void SignalIfPending() { buffer_.SignalIfPending(); }

 private:
  HeadlessMouse buffer_;  // the same bounded buffer as the scripted mouse
};

}  // namespace platform
