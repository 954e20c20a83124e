// The real display: a full-screen desktop window with an 800 x 600 back buffer (a target
// texture) scaled over the desktop. Internal to platform/.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device_loss.h"
#include "platform/display.h"
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
  explicit SdlVideo(std::shared_ptr<DeviceLoss> loss) : loss_(std::move(loss)) {}
  bool Init(std::string& error) override;
  void ShowWindow() override;
  std::vector<DisplayMode> Modes() override;
  std::unique_ptr<Device> CreateDevice(int width, int height, int format,
                                       std::string& error) override;

 private:
  std::shared_ptr<DeviceLoss> loss_;
  std::shared_ptr<SdlWindow> window_;
};

class WindowDevice : public SdlDevice {
 public:
  static std::unique_ptr<WindowDevice> Make(std::shared_ptr<SdlWindow> window, int width,
                                            int height, std::shared_ptr<DeviceLoss> loss,
                                            std::string& error);
  void Present() override;
  bool SaveScreenshot(const std::string& png_path) override;

 protected:
  bool RecreateOwnTextures() override;

 private:
  WindowDevice(std::shared_ptr<SdlWindow> window, RendererPtr renderer,
               std::shared_ptr<DeviceLoss> loss, int width, int height)
      : SdlDevice(std::move(window), std::move(renderer), std::move(loss)),
        width_(width),
        height_(height) {}
  int width_, height_;
  TexturePtr back_buffer_;
};

}  // namespace platform
