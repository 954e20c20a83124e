// The real message pump: SDL's event queue, then due timers, then the network loop.
// Internal to platform/.
#pragma once

#include <memory>

#include "platform/device_loss.h"
#include "platform/pump.h"
#include "platform/sdl/sdl_input.h"
#include "platform/timers.h"

namespace platform {

class SdlPump : public EventPump {
 public:
  SdlPump(TimerHost& timers, SdlMouse& mouse, std::shared_ptr<DeviceLoss> loss)
      : timers_(timers), mouse_(mouse), loss_(std::move(loss)) {}
  void DoEvents() override;

 private:
  void Handle(const SDL_Event& event);
  TimerHost& timers_;
  SdlMouse& mouse_;
  std::shared_ptr<DeviceLoss> loss_;
};

}  // namespace platform
