// The real message boxes: SDL's message box, always echoed to standard error so that a run
// without a display still says what happened.
#include "platform/sdl/sdl_dialogs.h"

#include <SDL.h>

#include <cstdio>
#include <memory>

namespace platform {
namespace {

Uint32 IconFlags(int style) {
  switch (style & 0xF0) {
    case mb::Critical:
      return SDL_MESSAGEBOX_ERROR;
    case 48:  // exclamation
      return SDL_MESSAGEBOX_WARNING;
    default:
      return SDL_MESSAGEBOX_INFORMATION;
  }
}

// The game holds the mouse captured and hides the system cursor; a box needs both back.
class MouseFreedForBox {
 public:
  MouseFreedForBox() : relative_(SDL_GetRelativeMouseMode()), shown_(SDL_ShowCursor(SDL_QUERY)) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
  }
  ~MouseFreedForBox() {
    SDL_ShowCursor(shown_);
    SDL_SetRelativeMouseMode(relative_);
  }

 private:
  SDL_bool relative_;
  int shown_;
};

class SdlDialogs : public Dialogs {
 public:
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    SDL_MessageBoxButtonData ok{
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
        mb::AnswerOk, "OK"};
    SDL_MessageBoxButtonData retry_cancel[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, mb::AnswerRetry, "Retry"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, mb::AnswerCancel, "Cancel"}};
    // Lines end in CR LF in the game's texts; the box breaks lines at LF alone and would
    // show the CR.
    std::string shown = text;
    for (size_t at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at)) {
      shown.erase(at, 1);
    }
    SDL_MessageBoxData box{};
    box.flags = IconFlags(style);
    box.window = SDL_GetKeyboardFocus();  // over the full-screen game, not behind it
    box.title = title.c_str();
    box.message = shown.c_str();
    box.numbuttons = mb::OffersRetry(style) ? 2 : 1;
    box.buttons = mb::OffersRetry(style) ? retry_cancel : &ok;
    MouseFreedForBox freed;
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0 || answer < 0) return mb::DefaultAnswer(style);
    return answer;
  }
};

}  // namespace

std::unique_ptr<Dialogs> MakeSdlDialogs() {
  return std::make_unique<SdlDialogs>();
}

}  // namespace platform
