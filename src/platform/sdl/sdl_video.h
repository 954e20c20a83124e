// The real display: a full-screen desktop window (or, asked for, a resizable one) with an
// 800 x 600 back buffer (a target texture) scaled over it. Internal to platform/.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device_loss.h"
#include "platform/display.h"
#include "platform/frame_record.h"
#include "platform/sdl/sdl_device.h"

namespace platform {

// The video subsystem and the game's window; the device keeps it alive while it draws.
struct SdlWindow {
  std::unique_ptr<SdlSubsystem> video;  // first in, last out
  WindowPtr window;
};

// The Direct3D code of an SDL pixel format (0 for the formats Direct3D 8 had no name for).
int D3dFormatOf(Uint32 sdl_format);

class SdlVideo : public VideoSystem {
 public:
  // `loss` is shared with the pump, which feeds it the window's and renderer's events.
  // `windowed`: an 800 x 600 window that can be resized instead of the whole desktop.
  SdlVideo(std::shared_ptr<DeviceLoss> loss, bool windowed)
      : loss_(std::move(loss)), windowed_(windowed) {}
  bool Init(std::string& error) override;
  void ShowWindow() override;
  std::vector<DisplayMode> Modes() override;
  std::unique_ptr<Device> CreateDevice(int width, int height, int format,
                                       std::string& error) override;
  std::unique_ptr<LabelWindow> CreateLabelWindow(const LabelWindowLook& look) override;

 private:
  std::shared_ptr<DeviceLoss> loss_;
  bool windowed_;
  std::shared_ptr<SdlWindow> window_;
};

// The window's device draws a frame only when it differs from the one on the screen: a
// still menu costs no drawing at all. A frame the window system may have spoilt (exposed,
// resized, reset) is drawn again, and every frame at least once a second.
class WindowDevice : public SdlDevice {
 public:
  static std::unique_ptr<WindowDevice> Make(std::shared_ptr<SdlWindow> window, int width,
                                            int height, std::shared_ptr<DeviceLoss> loss,
                                            std::string& error);
  ~WindowDevice() override;
  bool Reset() override;
  void Clear(uint32_t color) override { frame_.Clear(color); }
  void DrawQuad(const Vertex v[4], const Texture* tex) override { frame_.Quad(v, tex); }
  void DrawText(const Font& font, const std::string& text, int left, int top, int right, int bottom,
                uint32_t color, bool center) override {
    frame_.Text(font, text, left, top, right, bottom, color, center);
  }
  void Present() override;
  bool SaveScreenshot(const std::string& png_path) override;

 protected:
  bool RecreateOwnTextures() override;

 private:
  WindowDevice(std::shared_ptr<SdlWindow> window, RendererPtr renderer,
               std::shared_ptr<DeviceLoss> loss, int width, int height);
  static int WatchWindow(void* self, SDL_Event* event);
  Uint32 BackBufferFormat() const;
  bool MustDraw() const;
  void Show();

  std::shared_ptr<SdlWindow> window_;
  int width_, height_;
  TexturePtr back_buffer_;
  FrameRecord frame_, shown_;
  bool spoilt_ = true;
  Uint64 shown_at_ = 0;
};

}  // namespace platform
