// The real display: video start-up, the window, the mode list in Direct3D terms, and the
// device whose 800 x 600 back buffer is scaled over the whole desktop.
#include "platform/sdl/sdl_video.h"

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
  window_->window.reset(SDL_CreateWindow("Brikka", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         800, 600, SDL_WINDOW_FULLSCREEN_DESKTOP));
}

std::vector<DisplayMode> SdlVideo::Modes() {
  std::vector<DisplayMode> modes;
  if (!window_) return modes;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(0, i, &m) == 0) {
      modes.push_back({m.w, m.h, m.refresh_rate, D3dFormatOf(m.format)});
    }
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

std::unique_ptr<WindowDevice> WindowDevice::Make(std::shared_ptr<SdlWindow> window, int width,
                                                 int height, std::shared_ptr<DeviceLoss> loss,
                                                 std::string& error) {
  const Uint32 flags = SDL_RENDERER_TARGETTEXTURE | SDL_RENDERER_PRESENTVSYNC;
  RendererPtr renderer(
      SDL_CreateRenderer(window->window.get(), -1, flags | SDL_RENDERER_ACCELERATED));
  if (!renderer)
    renderer.reset(SDL_CreateRenderer(window->window.get(), -1, flags | SDL_RENDERER_SOFTWARE));
  if (!renderer) {
    error = SDL_GetError();
    return nullptr;
  }
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

bool WindowDevice::RecreateOwnTextures() {
  SDL_SetRenderTarget(renderer(), nullptr);
  back_buffer_.reset(SDL_CreateTexture(renderer(), SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_TARGET, width_, height_));
  if (!back_buffer_) return false;
  SDL_SetTextureScaleMode(back_buffer_.get(), SDL_ScaleModeLinear);
  return SDL_SetRenderTarget(renderer(), back_buffer_.get()) == 0;
}

void WindowDevice::Present() {
  if (!back_buffer_) return;
  SDL_Renderer* r = renderer();
  SDL_SetRenderTarget(r, nullptr);
  SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
  SDL_RenderClear(r);  // the bars beside a back buffer narrower than the desktop
  SDL_RenderCopy(r, back_buffer_.get(), nullptr, nullptr);
  SDL_RenderPresent(r);
  SDL_SetRenderTarget(r, back_buffer_.get());
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
