// The mouse: its buffered device, the handler that moves the cursor and turns left-button
// events into clicks, and the strict hit test of a button.
#include <algorithm>

#include "game/frm_main.h"

namespace brikka {

namespace {
// The device keeps this many records; later ones are lost while nobody reads.
constexpr int kMouseBufferSize = 10;
// The cursor's corner may leave the 800 x 600 screen by its own size, 32 pixels.
constexpr int32_t kCursorMaxX = 832, kCursorMaxY = 632;
// The handle of the event the mouse device signals (any non-zero number names it).
constexpr int32_t kMouseEventHandle = 1;

// Relative motion counts twice; the sum is taken wide so that no step can overflow.
int32_t MoveAxis(int32_t at, int32_t step, int32_t limit) {
  long long next = static_cast<long long>(at) + 2LL * step;
  return static_cast<int32_t>(std::clamp<long long>(next, 0, limit));
}
}  // namespace

void frmMain::InitMouse() {
  if (!dx.Mouse) return;
  dx.Mouse->SetBufferSize(kMouseBufferSize);
  MouseEvent = kMouseEventHandle;
  dx.Mouse->SetEventNotification([this] { DirectXEvent8_DXCallback(MouseEvent); });
  // A mouse that cannot be captured now is acquired again after a lost device; the game
  // is playable with the keyboard meanwhile.
  dx.Mouse->Acquire();
}

// Records that arrive on the play screen are left in the device: up to ten of them are
// handled, clicks included, with the next signal on another screen.
void frmMain::DirectXEvent8_DXCallback(int32_t eventid) {
  if (eventid != MouseEvent || Screen == 2 || !dx.Mouse) return;
  platform::MouseRecord records[kMouseBufferSize];
  const int n = dx.Mouse->GetDeviceData(records, kMouseBufferSize);
  if (n < 0) {  // a device that cannot be read costs the input, never the program
    dx.Mouse->Acquire();
    return;
  }
  for (int i = 0; i < n && !Ended(); ++i) {
    const platform::MouseRecord& r = records[i];
    switch (r.offset) {
      case platform::mouse_offset::X:
        MouseX = MoveAxis(MouseX, r.data, kCursorMaxX);
        Cursor.setdimOnly(static_cast<float>(MouseX), static_cast<float>(MouseY));
        break;
      case platform::mouse_offset::Y:
        MouseY = MoveAxis(MouseY, r.data, kCursorMaxY);
        Cursor.setdimOnly(static_cast<float>(MouseX), static_cast<float>(MouseY));
        break;
      case platform::mouse_offset::Button0:
        // Press and release are not told apart: the button's events alternate between a
        // click and re-arming, so with the mouse armed at start every press clicks.
        if (MouseArmed) {
          MainMenuButtonClicked();
        } else {
          MouseArmed = true;
        }
        break;
      default:  // other buttons and the wheel
        break;
    }
  }
}

// The border pixels do not count: all four comparisons are strict.
bool frmMain::MouseOverButton(const cButton& b) const {
  return b.Leftx < MouseX && MouseX < b.Leftx + b.sqwidth && b.Topy < MouseY &&
         MouseY < b.Topy + b.sqheight;
}

}  // namespace brikka
