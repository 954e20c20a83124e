// The frame loop: device state, one screen's frame, the window's messages, pacing and the
// frame-rate count. Fall speeds are divided by the frame rate measured here.
#include "game/frm_main.h"
#include "platform/keycodes.h"
#include "platform/numbers.h"

namespace brikka {

using platform::TickDiff;

namespace {
// A pass lasts more than this many milliseconds.
constexpr int32_t kMinPassMs = 25;
}  // namespace

void frmMain::FramePass() {
  if (ended_) return;
  platform::Clock& clock = *plat_.clock;
  const int32_t t0 = clock.GetTickCount();
  platform::Device* device = Device();
  int32_t level = device ? device->TestCooperativeLevel() : platform::kD3D_OK;

  if (level == platform::kD3DERR_DEVICENOTRESET) {
    DestroyFonts();
    if (dx.Mouse) dx.Mouse->Acquire();
    dx.Reset();
    if (settings.Music) StartMusic();
  }
  if (level != platform::kD3D_OK) {
    LostDevicePass(level);
    return;
  }

  if (settings.Music) KeepMusicLooping();
  switch (Screen) {
    case 1:
      Menu_Render();
      break;
    case 2:
      if (RightField.Active) Descend();
      if (LeftField.Active) Descend2();
      Quake();
      Render();
      break;
    case 3:
      HighScore_Render();
      break;
    default:
      break;
  }
  if (device) device->FrameDrawn();
  plat_.pump->DoEvents();
  if (ended_) return;

  // Pacing: wait until more than 25 ms have passed since the pass began, sleeping rather
  // than spinning; the clock is read again after every sleep.
  int32_t elapsed = TickDiff(clock.GetTickCount(), t0);
  if (elapsed < kMinPassMs) {
    while (elapsed <= kMinPassMs) {
      clock.Sleep(kMinPassMs + 1 - elapsed);
      elapsed = TickDiff(clock.GetTickCount(), t0);
    }
  }

  if (FPS_Current == 0) FPS_Current = 25;
  if (TickDiff(clock.GetTickCount(), FpsTick) >= 1000) {
    FPS_Current = static_cast<int16_t>(FrameCount > 32767 ? 32767 : FrameCount);
    FrameCount = 0;
    FpsTick = clock.GetTickCount();
  }
  ++FrameCount;
  if (FPS_Current == 0) FPS_Current = 25;
}

// The device is lost, or was reset at the start of this pass: nothing is drawn; the wells
// in play are paused once. A lost device can last minutes (the window minimised), so the
// pass sleeps as long as a drawn one lasts instead of spinning.
void frmMain::LostDevicePass(int32_t level) {
  const int32_t t0 = plat_.clock->GetTickCount();
  plat_.pump->DoEvents();
  if (ended_) return;
  int32_t elapsed = TickDiff(plat_.clock->GetTickCount(), t0);
  if (elapsed <= kMinPassMs) plat_.clock->Sleep(kMinPassMs + 1 - elapsed);
  ReloadFonts();
  FpsTick = plat_.clock->GetTickCount();
  // The tune pauses while the device stays lost; in the pass that reset the device it has
  // just been started again and keeps playing.
  if (settings.Music && plat_.music && level != platform::kD3DERR_DEVICENOTRESET) {
    plat_.music->Pause();
  }
  if (RightField.Active) Form_KeyDown('P', 0);
  if (LeftField.Active) Form_KeyDown('T', 0);
}

}  // namespace brikka
