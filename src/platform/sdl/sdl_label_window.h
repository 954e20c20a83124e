// The real label window: a small SDL window of its own, drawn with SDL's software renderer,
// its one line of text in a font found through fontconfig. Internal to platform/.
#pragma once

#include <memory>
#include <string>

#include "platform/label_window.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/sdl/sdl_text.h"

namespace platform {

class SdlLabelWindow : public LabelWindow {
 public:
  // Null when SDL cannot make the window (the caller has checked there is a display).
  static std::unique_ptr<SdlLabelWindow> Open(const LabelWindowLook& look);
  ~SdlLabelWindow() override;

  void SetCaption(const std::string& text) override;
  // The pump's side: an event of this window. It is drawn again when the window system
  // has spoilt it, and a click on its close button goes to the close handler.
  void Handle(const SDL_WindowEvent& event);
  // The label window the SDL window of `window_id` is, or null (the game's own window).
  static SdlLabelWindow* Of(Uint32 window_id);

 private:
  SdlLabelWindow() = default;
  void Draw();

  std::unique_ptr<SdlSubsystem> video_;  // first in, last out
  WindowPtr window_;
  RendererPtr renderer_;
  std::unique_ptr<TextRenderer> text_;
  FontRef font_;
  std::string caption_;
};

}  // namespace platform
