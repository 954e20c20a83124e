// The display: the mode list, the full-screen 800 x 600 drawing device, textures, quads
// and text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/label_window.h"

namespace platform {

// Back-buffer formats by their Direct3D codes, which is how the game names them.
namespace d3dfmt {
constexpr int R8G8B8 = 20, A8R8G8B8 = 21, X8R8G8B8 = 22, R5G6B5 = 23, X1R5G5B5 = 24, A1R5G5B5 = 25,
              A4R4G4B4 = 26, X4R4G4B4 = 30, Unknown = 0;
}

// Results of TestCooperativeLevel.
constexpr int32_t kD3D_OK = 0;
constexpr int32_t kD3DERR_DEVICELOST = static_cast<int32_t>(0x88760868u);
constexpr int32_t kD3DERR_DEVICENOTRESET = static_cast<int32_t>(0x88760869u);

struct DisplayMode {
  int Width = 0;
  int Height = 0;
  int RefreshRate = 0;
  int Format = d3dfmt::Unknown;
};

// A pre-transformed vertex: screen position, ARGB colour that tints the texture, and
// texture coordinates.
struct Vertex {
  float x = 0, y = 0;
  uint32_t color = 0xFFFFFFFF;
  float u = 0, v = 0;
};

class Texture {
 public:
  virtual ~Texture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};
using TextureRef = std::shared_ptr<Texture>;

// What a font was asked for as: family, points at 96 dpi, weight.
struct FontRequest {
  std::string family;
  int points = 0;
  bool bold = false;
};

class Font {
 public:
  virtual ~Font() = default;
  virtual FontRequest Request() const { return {}; }
};
using FontRef = std::shared_ptr<Font>;

// One line of text as a frame drew it: the string, the font asked for, the rectangle, the
// colour and the alignment.
struct DrawnText {
  std::string text;
  FontRequest font;
  int left = 0, top = 0, right = 0, bottom = 0;
  uint32_t color = 0;
  bool center = false;
};

// How often a device's text took its slow paths: font files opened, strings rasterised.
// A steady frame adds to neither.
struct TextStats {
  uint64_t fonts_opened = 0;
  uint64_t strings_rasterised = 0;
};

// What the whole process holds right now: open file descriptors (-1 where they cannot be
// counted), textures and fonts. A long run that ends holding more than it held once it
// settled has lost some.
struct HeldResources {
  long open_files = -1;
  long textures = 0;
  long fonts = 0;
};

// Raised when a texture or a font cannot be made.
struct DisplayError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Device {
 public:
  virtual ~Device() = default;
  virtual int32_t TestCooperativeLevel() = 0;
  virtual bool Reset() = 0;
  virtual void Clear(uint32_t color) = 0;
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void Present() = 0;
  // Loads an image file scaled (linearly) to w x h; texels of `color_key` become fully
  // transparent. The same file at the same size is loaded once and shared. Throws
  // DisplayError when the file cannot be read.
  virtual TextureRef LoadTexture(const std::string& path, int w, int h, uint32_t color_key) = 0;
  // Two triangles 0 1 2 / 1 3 2 with alpha blending; `tex` may be null (untextured).
  virtual void DrawQuad(const Vertex v[4], const Texture* tex) = 0;
  // A font by family name, point size at 96 dpi and weight; cached. Throws DisplayError.
  virtual FontRef CreateFont(const std::string& family, int points, bool bold) = 0;
  // Draws one line inside the rectangle, left-aligned or centred horizontally, top-aligned.
  virtual void DrawText(const Font& font, const std::string& text, int left, int top, int right,
                        int bottom, uint32_t color, bool center) = 0;
  // The frame's drawing is finished (the headless device lets virtual time pass here).
  virtual void FrameDrawn() {}
  // Writes the last presented frame as a PNG; false on failure.
  virtual bool SaveScreenshot(const std::string& png_path) = 0;
};

class VideoSystem {
 public:
  virtual ~VideoSystem() = default;
  // Brings the video subsystem up; false with a reason when there is no display.
  virtual bool Init(std::string& error) = 0;
  // Shows the (still empty) main window.
  virtual void ShowWindow() = 0;
  // The display modes of adapter 0 the back buffer can be shown in, in enumeration order
  // (on the real machine, the desktop's mode).
  virtual std::vector<DisplayMode> Modes() = 0;
  // The full-screen device with a width x height back buffer in the given format.
  virtual std::unique_ptr<Device> CreateDevice(int width, int height, int format,
                                               std::string& error) = 0;
  // A small window of its own with one line of text; null when none can be shown (no
  // display), in which case nobody sees the text.
  virtual std::unique_ptr<LabelWindow> CreateLabelWindow(const LabelWindowLook& look) = 0;
};

}  // namespace platform
