// The real keyboard and mouse on SDL.
#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include "platform/sdl/sdl_keymap.h"

namespace platform {
namespace {

// Windows reports one wheel notch as 120.
constexpr int32_t kWheelDelta = 120;

}  // namespace

bool SdlKeyboard::GetDeviceStateKeyboard(KeyboardState& state) {
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  state.fill(0);
  if (!keys) return false;
  for (int sc = 0; sc < count; ++sc) {
    if (!keys[sc]) continue;
    uint8_t code = DirectInputCodeForScancode(static_cast<SDL_Scancode>(sc));
    if (code != 0) state[code] = 0x80;
  }
  return true;
}

bool SdlMouse::Acquire() {
  acquired_ = true;
  focused_ = SDL_GetKeyboardFocus() != nullptr;
  Capture();
  return true;
}

// Without relative mode (some X servers) motion still carries its relative part.
void SdlMouse::Capture() {
  SDL_SetRelativeMouseMode(Captured() ? SDL_TRUE : SDL_FALSE);
}

void SdlMouse::Feed(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      if (event.motion.xrel != 0) Push({mouse_offset::X, event.motion.xrel});
      if (event.motion.yrel != 0) Push({mouse_offset::Y, event.motion.yrel});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      uint32_t offset = event.button.button == SDL_BUTTON_LEFT     ? mouse_offset::Button0
                        : event.button.button == SDL_BUTTON_RIGHT  ? mouse_offset::Button1
                        : event.button.button == SDL_BUTTON_MIDDLE ? mouse_offset::Button2
                                                                   : 0xFFFFFFFFu;
      if (offset == 0xFFFFFFFFu) break;
      Push({offset, event.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0});
      break;
    }
    case SDL_MOUSEWHEEL:
      if (event.wheel.y != 0) Push({mouse_offset::Wheel, event.wheel.y * kWheelDelta});
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        focused_ = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
        Capture();
      }
      break;
    default:
      break;
  }
}

}  // namespace platform
