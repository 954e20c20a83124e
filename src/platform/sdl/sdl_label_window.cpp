// The real label window. It draws itself only when its text changes or the window system
// asks (exposed), so a window waiting on the network costs nothing.
#include "platform/sdl/sdl_label_window.h"

namespace platform {
namespace {

// Marks our SDL windows, so the pump can tell them from the game's own.
constexpr const char* kWindowDataKey = "brikka.label";
// The window's face and text, as a dialog of the system draws them.
constexpr Uint8 kFace = 240;
constexpr uint32_t kTextColour = 0xFF000000;
constexpr int kMargin = 16;

}  // namespace

std::unique_ptr<SdlLabelWindow> SdlLabelWindow::Open(const LabelWindowLook& look) {
  std::unique_ptr<SdlLabelWindow> w(new SdlLabelWindow());
  std::string error;
  w->video_ = SdlSubsystem::Start(SDL_INIT_VIDEO | SDL_INIT_EVENTS, error);
  if (!w->video_) return nullptr;
  w->window_.reset(SDL_CreateWindow(look.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                    SDL_WINDOWPOS_CENTERED, look.width, look.height, 0));
  if (!w->window_) return nullptr;
  w->renderer_.reset(SDL_CreateRenderer(w->window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!w->renderer_) return nullptr;
  SDL_SetWindowData(w->window_.get(), kWindowDataKey, w.get());
  w->text_ = std::make_unique<TextRenderer>(w->renderer_.get());
  try {
    w->font_ = w->text_->CreateFont(look.font, look.points, false);
  } catch (const DisplayError& e) {
    // fontconfig offers no font at all: the window still shows, without its text.
    SDL_Log("%s", e.what());
  }
  w->caption_ = look.caption;
  w->Draw();
  return w;
}

SdlLabelWindow::~SdlLabelWindow() {
  if (window_) SDL_SetWindowData(window_.get(), kWindowDataKey, nullptr);
}

void SdlLabelWindow::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  Draw();
}

void SdlLabelWindow::Handle(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
      Draw();
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Closing();  // may destroy us: nothing after it
      break;
    default:
      break;
  }
}

SdlLabelWindow* SdlLabelWindow::Of(Uint32 window_id) {
  SDL_Window* window = SDL_GetWindowFromID(window_id);
  return window ? static_cast<SdlLabelWindow*>(SDL_GetWindowData(window, kWindowDataKey)) : nullptr;
}

void SdlLabelWindow::Draw() {
  SDL_Renderer* r = renderer_.get();
  SDL_SetRenderDrawColor(r, kFace, kFace, kFace, 255);
  SDL_RenderClear(r);
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(r, &w, &h);
  if (font_) {
    const int line = TTF_FontHeight(static_cast<const SdlFont&>(*font_).get());
    const int top = (h - line) / 2;
    text_->Draw(*font_, caption_, kMargin, top, w - kMargin, top + line, kTextColour, false);
  }
  SDL_RenderPresent(r);
}

}  // namespace platform
