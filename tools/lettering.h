// Lettering: glyph coverage masks rendered with SDL2_ttf from the font fontconfig picks for a
// family name, mask effects (outline, blur) and styled labels composited onto a Canvas.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

typedef struct _TTF_Font TTF_Font;

namespace assets {

// Coverage 0..1; pixel (i, j) of the mask sits at (ox + i, oy + j) relative to the text origin.
struct Mask {
  int w = 0, h = 0;
  int ox = 0, oy = 0;
  std::vector<float> a;
  float At(int i, int j) const {
    return (i < 0 || j < 0 || i >= w || j >= h) ? 0.0f : a[static_cast<size_t>(j) * w + i];
  }
};

// The box of texels that carry ink, in text-origin coordinates (x1, y1 exclusive).
struct InkBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

InkBox Ink(const Mask& mask);
Mask Dilate(const Mask& mask, float radius);  // grows the glyphs: an outline's shape
Mask Blur(const Mask& mask, int radius);      // two box passes: a soft shadow's shape
// Draws the mask with its text origin at (x, y).
void DrawMask(Canvas& canvas, const Mask& mask, float x, float y, const Paint& paint,
              float opacity = 1);

// Opens the font library for the generator's run and caches opened fonts.
class Lettering {
 public:
  Lettering();
  ~Lettering();
  Lettering(const Lettering&) = delete;
  Lettering& operator=(const Lettering&) = delete;

  // White-on-nothing coverage of `text` at `pixels` size. Throws std::runtime_error when no
  // font can be found or opened.
  Mask Render(const std::string& family, bool bold, int pixels, const std::string& text);
  // Pen advance of `text`: where the next character would start.
  int Advance(const std::string& family, bool bold, int pixels, const std::string& text);

 private:
  TTF_Font* Open(const std::string& family, bool bold, int pixels);
  struct FontCloser {
    void operator()(TTF_Font* font) const;
  };
  std::map<std::string, std::unique_ptr<TTF_Font, FontCloser>> fonts_;
};

// How a label looks: a vertical gradient fill, an outline around the glyphs and a drop shadow.
struct TextStyle {
  Rgb top{255, 255, 255};
  Rgb bottom{220, 225, 240};
  Rgb outline{20, 20, 40};
  float outline_width = 2;  // 0 for none
  Rgb shadow{0, 0, 0};
  float shadow_dx = 1, shadow_dy = 2;
  int shadow_blur = 1;
  float shadow_opacity = 0.6f;  // 0 for none
};

// Font used for every label of the game's pictures (the game's own text uses the same family).
inline constexpr const char* kLabelFamily = "Comic Sans MS";

// Draws `text` centred by its ink on (cx, cy).
void DrawLabel(Canvas& canvas, Lettering& lettering, const std::string& text, int pixels, float cx,
               float cy, const TextStyle& style, bool bold = true);
// Width of the ink of `text` at `pixels` size.
int LabelWidth(Lettering& lettering, const std::string& text, int pixels, bool bold = true);

}  // namespace assets
