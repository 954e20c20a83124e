// `cdirectx`: the single owner of the display device, the input devices and the sound device.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace brikka {

class cdirectx {
 public:
  explicit cdirectx(platform::Platform& plat) : plat_(plat) {}

  platform::VideoSystem* D3D = nullptr;
  std::unique_ptr<platform::Device> d3ddevice;
  platform::KeyboardDevice* Keyboard = nullptr;
  platform::MouseDevice* Mouse = nullptr;
  platform::SoundSystem* Ds = nullptr;
  double swidth = 0;
  double sheight = 0;

  // Builds everything for the main window; false on any failure (after telling the user
  // when no usable display mode exists). `Fullscreen` is accepted and not consulted.
  bool intialise(long wnd, bool Fullscreen);
  void Reset();

  // The back-buffer format chosen at start-up (a Direct3D format code), 0 before.
  int BackBufferFormat() const { return format_; }

  // The format of the first mode of `modes` of at least width x height in a format of the
  // requested depth (32: R8G8B8 or X8R8G8B8; 16: R5G6B5, X1R5G5B5 or X4R4G4B4), else 0.
  static int CheckDisplayMode(const std::vector<platform::DisplayMode>& modes, int width,
                              int height, int depth);

 private:
  platform::Platform& plat_;
  int format_ = 0;
};

}  // namespace brikka
