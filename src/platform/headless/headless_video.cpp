// The headless display on SDL's software renderer: no window, no video driver needed. Label
// windows only write down what they show.
#include "platform/headless/headless_video.h"

#include <filesystem>

namespace platform {

std::unique_ptr<HeadlessDevice> HeadlessDevice::Make(int width, int height,
                                                     std::shared_ptr<DeviceLoss> loss,
                                                     std::function<void()> on_frame_drawn,
                                                     std::string& error) {
  std::shared_ptr<SDL_Surface> canvas(MakeArgbSurface(width, height).release(), SdlDeleter());
  if (!canvas) {
    error = SDL_GetError();
    return nullptr;
  }
  RendererPtr renderer(SDL_CreateSoftwareRenderer(canvas.get()));
  if (!renderer) {
    error = SDL_GetError();
    return nullptr;
  }
  return std::unique_ptr<HeadlessDevice>(new HeadlessDevice(
      std::move(canvas), std::move(renderer), std::move(loss), std::move(on_frame_drawn)));
}

HeadlessDevice::HeadlessDevice(std::shared_ptr<SDL_Surface> canvas, RendererPtr renderer,
                               std::shared_ptr<DeviceLoss> loss,
                               std::function<void()> on_frame_drawn)
    : SdlDevice(canvas, std::move(renderer), std::move(loss)),
      canvas_(std::move(canvas)),
      last_frame_(MakeArgbSurface(canvas_->w, canvas_->h)),
      on_frame_drawn_(std::move(on_frame_drawn)) {
  if (last_frame_) SDL_FillRect(last_frame_.get(), nullptr, 0xFF000000u);
  SDL_SetSurfaceBlendMode(canvas_.get(), SDL_BLENDMODE_NONE);  // copied as it is
}

// A frame begins with its clear; its texts are kept from there until it is presented.
void HeadlessDevice::Clear(uint32_t color) {
  frame_texts_.clear();
  SdlDevice::Clear(color);
}

void HeadlessDevice::DrawText(const Font& font, const std::string& text, int left, int top,
                              int right, int bottom, uint32_t color, bool center) {
  frame_texts_.push_back(DrawnText{text, font.Request(), left, top, right, bottom, color, center});
  SdlDevice::DrawText(font, text, left, top, right, bottom, color, center);
}

void HeadlessDevice::Present() {
  // Drawing is queued until flushed; then the canvas holds the finished frame.
  SDL_RenderFlush(renderer());
  if (last_frame_) SDL_BlitSurface(canvas_.get(), nullptr, last_frame_.get(), nullptr);
  presented_texts_.swap(frame_texts_);
  frame_texts_.clear();
}

void HeadlessDevice::FrameDrawn() {
  if (on_frame_drawn_) on_frame_drawn_();
}

bool HeadlessDevice::SaveScreenshot(const std::string& png_path) {
  return SavePng(last_frame_.get(), png_path);
}

const std::vector<DrawnText>& LastFrameTexts(const Device* device) {
  static const std::vector<DrawnText> kNone;
  const auto* headless = dynamic_cast<const HeadlessDevice*>(device);
  return headless ? headless->LastFrameTexts() : kNone;
}

TextStats TextStatisticsOf(const Device* device) {
  const auto* headless = dynamic_cast<const HeadlessDevice*>(device);
  return headless ? headless->TextStatistics() : TextStats{};
}

HeldResources HeldResourceCounts() {
  HeldResources held;
  std::error_code ec;
  std::filesystem::directory_iterator fds("/proc/self/fd", ec);
  if (!ec) {
    // The listing's own descriptor is among those listed.
    held.open_files = static_cast<long>(std::distance(fds, {})) - 1;
  }
  held.textures = TexturePtr::Live();
  held.fonts = TtfFontPtr::Live();
  return held;
}

bool HeadlessVideo::Init(std::string&) {
  // Nothing here needs a display; should anything start SDL's video later, it must not
  // go looking for one.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  return true;
}

namespace {

class HeadlessLabelWindow : public LabelWindow {
 public:
  HeadlessLabelWindow(std::shared_ptr<std::vector<std::string>> log, const std::string& caption)
      : log_(std::move(log)), shown_(caption) {
    log_->push_back(caption);
  }
  void SetCaption(const std::string& text) override {
    if (text != shown_) log_->push_back(text);
    shown_ = text;
  }

 private:
  std::shared_ptr<std::vector<std::string>> log_;
  std::string shown_;
};

}  // namespace

std::unique_ptr<LabelWindow> HeadlessVideo::CreateLabelWindow(const LabelWindowLook& look) {
  return std::make_unique<HeadlessLabelWindow>(captions_, look.caption);
}

std::unique_ptr<Device> HeadlessVideo::CreateDevice(int width, int height, int /*format*/,
                                                    std::string& error) {
  auto charge = [this] { clock_.Advance(pass_ms_); };
  return HeadlessDevice::Make(width, height, loss_, charge, error);
}

}  // namespace platform
