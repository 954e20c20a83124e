// One round of the real message pump: every pending SDL event (key-downs to the game,
// mouse input to the mouse buffer, window and renderer events to the device-loss state,
// a label window's events to it), then the mouse signal, the due timers and the pollers.
#include "platform/sdl/sdl_pump.h"

#include <SDL.h>

#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_label_window.h"

namespace platform {
namespace {

// The window an event is for, when it has one.
Uint32 WindowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_MOUSEWHEEL:
      return event.wheel.windowID;
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    default:
      return 0;
  }
}

// The window's shift state: 1 shift, 2 ctrl, 4 alt.
int ShiftState(Uint16 mod) {
  return ((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) | ((mod & KMOD_ALT) ? 4 : 0);
}

}  // namespace

void SdlPump::DoEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) Handle(event);
  mouse_.SignalIfPending();
  timers_.FireDue();
  RunPollers();
}

void SdlPump::Handle(const SDL_Event& event) {
  // A label window's input and focus are none of the game's: its pointer must not move the
  // game's cursor, nor its focus count as the game's device being lost.
  if (const Uint32 id = WindowOf(event); id != 0) {
    if (SdlLabelWindow* label = SdlLabelWindow::Of(id)) {
      if (event.type == SDL_WINDOWEVENT) label->Handle(event.window);
      return;
    }
  }
  switch (event.type) {
    case SDL_KEYDOWN: {  // held keys repeat, as the window's key-down event does
      int key = VirtualKeyForSdlKey(event.key.keysym.sym, event.key.keysym.scancode);
      if (key != 0 && key_down_) key_down_(key, ShiftState(event.key.keysym.mod));
      break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      mouse_.Feed(event);
      break;
    case SDL_QUIT:
      if (close_) close_();
      break;
    case SDL_WINDOWEVENT:
      mouse_.Feed(event);  // the pointer is captured only while the window has the focus
      if (event.window.event == SDL_WINDOWEVENT_MINIMIZED) loss_->Minimised();
      if (event.window.event == SDL_WINDOWEVENT_RESTORED ||
          event.window.event == SDL_WINDOWEVENT_MAXIMIZED) {
        loss_->Restored();
      }
      // Switching to another program loses the device as well, full screen or windowed: a
      // desktop full-screen window is not minimised by it.
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) loss_->FocusLost();
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) loss_->FocusGained();
      break;
    case SDL_RENDER_TARGETS_RESET:  // the back buffer's content: redrawn next frame anyway
      loss_->Dropped(false);
      break;
    case SDL_RENDER_DEVICE_RESET:  // every texture is gone
      loss_->Dropped(true);
      break;
    default:
      break;
  }
}

}  // namespace platform
