// The real display: video start-up, the window, the mode list in Direct3D terms, and the
// device whose 800 x 600 back buffer is scaled over the whole desktop.
#include "platform/sdl/sdl_video.h"

#include <filesystem>

#include "platform/sdl/sdl_label_window.h"
#include "platform/sdl/sdl_trace.h"

namespace platform {

int D3dFormatOf(Uint32 sdl_format) {
  switch (sdl_format) {
    case SDL_PIXELFORMAT_RGB888:
      return d3dfmt::X8R8G8B8;
    case SDL_PIXELFORMAT_RGB24:
      return d3dfmt::R8G8B8;
    case SDL_PIXELFORMAT_RGB565:
      return d3dfmt::R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
      return d3dfmt::X1R5G5B5;
    case SDL_PIXELFORMAT_RGB444:
      return d3dfmt::X4R4G4B4;
    case SDL_PIXELFORMAT_ARGB8888:
      return d3dfmt::A8R8G8B8;
    case SDL_PIXELFORMAT_ARGB1555:
      return d3dfmt::A1R5G5B5;
    case SDL_PIXELFORMAT_ARGB4444:
      return d3dfmt::A4R4G4B4;
    default:
      return d3dfmt::Unknown;
  }
}

namespace {

// SDL falls back to drivers that draw nowhere when there is no display; the game would
// then run unseen. They count only when asked for by name.
bool HasScreen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return true;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  return asked && SDL_strcasecmp(asked, driver) == 0;
}

}  // namespace

bool SdlVideo::Init(std::string& error) {
  if (window_) return true;
  auto video = SdlSubsystem::Start(SDL_INIT_VIDEO | SDL_INIT_EVENTS, error);
  if (!video) return false;
  if (!HasScreen()) {
    error = "There is no display to show the game on";
    return false;
  }
  window_ = std::make_shared<SdlWindow>();
  window_->video = std::move(video);
  return true;
}

void SdlVideo::ShowWindow() {
  if (!window_ || window_->window) return;
  const Uint32 flags = windowed_ ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_->window.reset(
      SDL_CreateWindow("Brikka", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, flags));
}

std::unique_ptr<LabelWindow> SdlVideo::CreateLabelWindow(const LabelWindowLook& look) {
  std::string error;
  auto video = SdlSubsystem::Start(SDL_INIT_VIDEO | SDL_INIT_EVENTS, error);
  if (!video || !HasScreen()) return nullptr;
  return SdlLabelWindow::Open(look);
}

// The game never switches the display's mode: the back buffer is scaled over the desktop
// as it is, so the desktop's mode is the one mode it can be shown in.
std::vector<DisplayMode> SdlVideo::Modes() {
  std::vector<DisplayMode> modes;
  SDL_DisplayMode m{};
  if (window_ && SDL_GetDesktopDisplayMode(0, &m) == 0) {
    modes.push_back({m.w, m.h, m.refresh_rate, D3dFormatOf(m.format)});
  }
  return modes;
}

std::unique_ptr<Device> SdlVideo::CreateDevice(int width, int height, int /*format*/,
                                               std::string& error) {
  if (!window_) {
    error = "The video system is not started";
    return nullptr;
  }
  ShowWindow();
  if (!window_->window) {
    error = SDL_GetError();
    return nullptr;
  }
  return WindowDevice::Make(window_, width, height, loss_, error);
}

namespace {

// Without a graphics card (no DRM render node) OpenGL is itself a software rasteriser that
// costs some 70 MB and a compiler at start-up; SDL's own software renderer draws this
// game's 2D frames for a fraction of that. A renderer the user names still wins.
bool HasGraphicsCard() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
    if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
  }
  return false;
}

RendererPtr CreateRenderer(SDL_Window* window) {
  const Uint32 flags = SDL_RENDERER_TARGETTEXTURE | SDL_RENDERER_PRESENTVSYNC;
  const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  RendererPtr renderer;
  if ((asked && *asked) || HasGraphicsCard()) {
    renderer.reset(SDL_CreateRenderer(window, -1, flags | SDL_RENDERER_ACCELERATED));
    if (renderer) return renderer;
  }
  // The window's own pixels, not an OpenGL texture standing in for them.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  renderer.reset(SDL_CreateRenderer(window, -1, flags | SDL_RENDERER_SOFTWARE));
  return renderer;
}

}  // namespace

std::unique_ptr<WindowDevice> WindowDevice::Make(std::shared_ptr<SdlWindow> window, int width,
                                                 int height, std::shared_ptr<DeviceLoss> loss,
                                                 std::string& error) {
  RendererPtr renderer = CreateRenderer(window->window.get());
  if (!renderer) {
    error = SDL_GetError();
    return nullptr;
  }
  TraceRenderer(renderer.get());
  // Scaled to the desktop keeping its shape; set before any target is bound, as the
  // setting belongs to the window.
  SDL_RenderSetLogicalSize(renderer.get(), width, height);
  SDL_ShowCursor(SDL_DISABLE);  // the game draws its own cursor
  std::unique_ptr<WindowDevice> device(
      new WindowDevice(std::move(window), std::move(renderer), std::move(loss), width, height));
  if (!device->RecreateOwnTextures()) {
    error = SDL_GetError();
    return nullptr;
  }
  return device;
}

// The window's own format when the renderer can draw into it: the finished frame then
// reaches the window as a plain copy rather than a conversion of every pixel.
Uint32 WindowDevice::BackBufferFormat() const {
  const Uint32 window = SDL_GetWindowPixelFormat(window_->window.get());
  SDL_RendererInfo info{};
  if (SDL_BITSPERPIXEL(window) == 32 && SDL_GetRendererInfo(renderer(), &info) == 0) {
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
      if (info.texture_formats[i] == window) return window;
    }
  }
  return SDL_PIXELFORMAT_ARGB8888;
}

bool WindowDevice::RecreateOwnTextures() {
  SDL_SetRenderTarget(renderer(), nullptr);
  back_buffer_.reset(
      SDL_CreateTexture(renderer(), BackBufferFormat(), SDL_TEXTUREACCESS_TARGET, width_, height_));
  if (!back_buffer_) return false;
  SDL_SetTextureScaleMode(back_buffer_.get(), SDL_ScaleModeLinear);
  // A whole opaque frame: copied over the window, never blended into it.
  SDL_SetTextureBlendMode(back_buffer_.get(), SDL_BLENDMODE_NONE);
  return SDL_SetRenderTarget(renderer(), back_buffer_.get()) == 0;
}

WindowDevice::WindowDevice(std::shared_ptr<SdlWindow> window, RendererPtr renderer,
                           std::shared_ptr<DeviceLoss> loss, int width, int height)
    : SdlDevice(window, std::move(renderer), std::move(loss)),
      window_(std::move(window)),
      width_(width),
      height_(height) {
  SDL_AddEventWatch(&WindowDevice::WatchWindow, this);
}

WindowDevice::~WindowDevice() {
  SDL_DelEventWatch(&WindowDevice::WatchWindow, this);
}

// Seen as the events arrive, before the pump hands them on.
int WindowDevice::WatchWindow(void* self, SDL_Event* event) {
  auto* device = static_cast<WindowDevice*>(self);
  if (event->type == SDL_WINDOWEVENT) {
    switch (event->window.event) {
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_RESTORED:
      case SDL_WINDOWEVENT_MAXIMIZED:
        device->spoilt_ = true;
        break;
      default:
        break;
    }
  } else if (event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET) {
    device->spoilt_ = true;
  }
  return 0;
}

bool WindowDevice::Reset() {
  spoilt_ = true;
  return SdlDevice::Reset();
}

bool WindowDevice::MustDraw() const {
  constexpr Uint64 kRedrawAtLeastEveryMs = 1000;
  return spoilt_ || !(frame_ == shown_) || SDL_GetTicks64() - shown_at_ >= kRedrawAtLeastEveryMs;
}

void WindowDevice::Present() {
  if (!back_buffer_) return;
  if (MustDraw()) Show();
  std::swap(frame_, shown_);
  frame_.Forget();
}

// Draws the recorded frame into the back buffer and shows it scaled over the window.
void WindowDevice::Show() {
  struct Drawing {  // the drawing itself, past the recording
    WindowDevice& d;
    void Clear(uint32_t color) { d.SdlDevice::Clear(color); }
    void DrawQuad(const Vertex v[4], const Texture* tex) { d.SdlDevice::DrawQuad(v, tex); }
    void DrawText(const Font& font, const std::string& text, int l, int t, int r, int b,
                  uint32_t color, bool center) {
      d.SdlDevice::DrawText(font, text, l, t, r, b, color, center);
    }
  } drawing{*this};
  frame_.Replay(drawing);
  SDL_Renderer* r = renderer();
  SDL_SetRenderTarget(r, nullptr);
  // Bars beside a back buffer of another shape than the window; of the same shape it
  // covers the window whole.
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(r, &w, &h) != 0 ||
      static_cast<long long>(w) * height_ != static_cast<long long>(h) * width_) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
  }
  SDL_RenderCopy(r, back_buffer_.get(), nullptr, nullptr);
  SDL_RenderPresent(r);
  TraceFramePresented();
  SDL_SetRenderTarget(r, back_buffer_.get());
  spoilt_ = false;
  shown_at_ = SDL_GetTicks64();
}

bool WindowDevice::SaveScreenshot(const std::string& png_path) {
  // The back buffer keeps the last presented frame until the next one is drawn.
  SurfacePtr frame = MakeArgbSurface(width_, height_);
  if (!frame || !back_buffer_) return false;
  if (SDL_RenderReadPixels(renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, frame->pixels,
                           frame->pitch) != 0) {
    return false;
  }
  return SavePng(frame.get(), png_path);
}

}  // namespace platform
