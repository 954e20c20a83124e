// What the display knows about losing its device, fed by window events (the real pump)
// or by the script (headless), and read back as TestCooperativeLevel results.
#pragma once

#include <cstdint>

#include "platform/display.h"

namespace platform {

class DeviceLoss {
 public:
  // A window that is minimised, or has lost the input focus to another program, has no
  // device until it is back: restored and focused again. Windowed or full screen alike, so
  // a player who switches away never leaves the wells falling unseen.
  void Minimised() {
    minimised_ = true;
    needs_reset_ = true;
  }
  void Restored() { minimised_ = false; }
  void FocusLost() {
    unfocused_ = true;
    needs_reset_ = true;
  }
  void FocusGained() { unfocused_ = false; }
  // The renderer threw away its targets or textures: lost this once, then waiting for Reset.
  void Dropped(bool textures_gone) {
    lost_once_ = true;
    needs_reset_ = true;
    textures_gone_ = textures_gone_ || textures_gone;
  }

  int32_t Test() {
    if (StillLost() || lost_once_) {
      lost_once_ = false;
      return kD3DERR_DEVICELOST;
    }
    return needs_reset_ ? kD3DERR_DEVICENOTRESET : kD3D_OK;
  }
  bool StillLost() const { return minimised_ || unfocused_; }
  bool TexturesGone() const { return textures_gone_; }
  void ResetDone() {
    needs_reset_ = false;
    textures_gone_ = false;
    lost_once_ = false;
  }

 private:
  bool minimised_ = false;
  bool unfocused_ = false;
  bool lost_once_ = false;
  bool needs_reset_ = false;
  bool textures_gone_ = false;
};

}  // namespace platform
