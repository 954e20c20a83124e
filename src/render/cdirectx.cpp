// Bringing up the display, input and sound devices, and choosing the 800 x 600 mode.
#include "render/cdirectx.h"

#include "platform/dialogs.h"

namespace brikka {

namespace {
bool IsFormatOfDepth(int format, int depth) {
  using namespace platform::d3dfmt;
  if (depth == 32) return format == R8G8B8 || format == X8R8G8B8;
  if (depth == 16) return format == R5G6B5 || format == X1R5G5B5 || format == X4R4G4B4;
  return false;
}
}  // namespace

// The back buffer is scaled over the whole screen, so any mode at least as large as the
// back buffer shows it; only a smaller one cannot.
int cdirectx::CheckDisplayMode(const std::vector<platform::DisplayMode>& modes, int width,
                               int height, int depth) {
  for (const auto& m : modes) {
    if (m.Width >= width && m.Height >= height && IsFormatOfDepth(m.Format, depth)) {
      return m.Format;
    }
  }
  return 0;
}

bool cdirectx::intialise(long /*wnd*/, bool /*Fullscreen*/) {
  std::string error;
  D3D = plat_.video.get();
  if (!D3D || !D3D->Init(error)) return false;
  D3D->ShowWindow();
  Keyboard = plat_.keyboard.get();
  if (!Keyboard || !Keyboard->Acquire()) return false;
  Mouse = plat_.mouse.get();  // acquired by the mouse set-up, not here
  if (!Mouse) return false;
  Ds = plat_.sound.get();
  if (!Ds || !Ds->Open(error)) return false;

  std::vector<platform::DisplayMode> modes = D3D->Modes();
  format_ = CheckDisplayMode(modes, 800, 600, 32);
  if (format_ <= 0) format_ = CheckDisplayMode(modes, 800, 600, 16);
  if (format_ <= 0) {
    plat_.dialogs->MsgBox(std::string("Your hardware does not appear to support") +
                              " 640x480 display modes in either 16 bit or 32 bit modes. Exiting",
                          platform::mb::Information, "Error");
    return false;
  }
  swidth = 800;
  sheight = 600;
  d3ddevice = D3D->CreateDevice(800, 600, format_, error);
  return d3ddevice != nullptr;
}

void cdirectx::Reset() {
  if (d3ddevice) d3ddevice->Reset();
}

}  // namespace brikka
