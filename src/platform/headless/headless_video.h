// The headless display: SDL's software renderer drawing into an off-screen ARGB surface,
// a scripted mode list, scripted device loss and virtual time charged per frame.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/device_loss.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/sdl/sdl_device.h"

namespace platform {

class HeadlessDevice : public SdlDevice {
 public:
  // Null with the reason in `error` when SDL cannot make the surfaces or the renderer.
  static std::unique_ptr<HeadlessDevice> Make(int width, int height,
                                              std::shared_ptr<DeviceLoss> loss,
                                              std::function<void()> on_frame_drawn,
                                              std::string& error);
  void Clear(uint32_t color) override;
  void DrawText(const Font& font, const std::string& text, int left, int top, int right, int bottom,
                uint32_t color, bool center) override;
  void Present() override;
  void FrameDrawn() override;
  bool SaveScreenshot(const std::string& png_path) override;
  // The last presented frame (ARGB); for tests that read pixels.
  SDL_Surface* LastFrame() const { return last_frame_.get(); }
  // The texts of the last presented frame, in drawing order.
  const std::vector<DrawnText>& LastFrameTexts() const { return presented_texts_; }

 private:
  HeadlessDevice(std::shared_ptr<SDL_Surface> canvas, RendererPtr renderer,
                 std::shared_ptr<DeviceLoss> loss, std::function<void()> on_frame_drawn);
  std::shared_ptr<SDL_Surface> canvas_;
  SurfacePtr last_frame_;
  std::function<void()> on_frame_drawn_;
  std::vector<DrawnText> frame_texts_, presented_texts_;
};

class HeadlessVideo : public VideoSystem {
 public:
  HeadlessVideo(VirtualClock& clock, std::vector<DisplayMode> modes)
      : clock_(clock), modes_(std::move(modes)), loss_(std::make_shared<DeviceLoss>()) {}
  bool Init(std::string& error) override;
  void ShowWindow() override {}
  std::vector<DisplayMode> Modes() override { return modes_; }
  std::unique_ptr<Device> CreateDevice(int width, int height, int format,
                                       std::string& error) override;
  std::unique_ptr<LabelWindow> CreateLabelWindow(const LabelWindowLook& look) override;
  // Every text a label window showed, in order (a text set again while showing is one).
  const std::vector<std::string>& LabelCaptions() const { return *captions_; }

  void SetPassMs(int32_t ms) { pass_ms_ = ms; }
  // Lost once, then not reset until Reset(); the renderer also "loses" its textures so
  // that Reset re-makes them from their files, as a real reset may have to.
  void LoseDevice() { loss_->Dropped(true); }
  // The window loses the input focus to another program, or gets it back.
  void SetFocus(bool focused) { focused ? loss_->FocusGained() : loss_->FocusLost(); }

 private:
  VirtualClock& clock_;
  std::vector<DisplayMode> modes_;
  std::shared_ptr<DeviceLoss> loss_;
  int32_t pass_ms_ = 0;
  std::shared_ptr<std::vector<std::string>> captions_ =
      std::make_shared<std::vector<std::string>>();
};

}  // namespace platform
