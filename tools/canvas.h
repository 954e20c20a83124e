// A floating-point RGBA drawing surface with coverage-based blending, and its export to the
// game's colour-keyed pictures (transparent texels become exactly (7, 7, 7)).
#pragma once

#include <functional>
#include <vector>

#include "tga.h"

namespace assets {

// A colour with channels 0..255 (floats so gradients and lighting stay smooth).
struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1
Rgb Scaled(Rgb c, float k);      // brightness multiplied by k
Rgb Lit(Rgb c, float amount);    // amount > 0 towards white, < 0 towards black
Rgb FromHex(unsigned hex);       // 0xRRGGBB

// Colour as a function of the pixel centre, so shapes can carry gradients and bevels.
using Paint = std::function<Rgb(float x, float y)>;
Paint Solid(Rgb c);
Paint VerticalGradient(float y0, Rgb top, float y1, Rgb bottom);

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Source-over blend of colour c with coverage `alpha` (0..1) onto pixel (x, y); off-canvas
  // pixels are ignored.
  void Blend(int x, int y, Rgb c, float alpha);
  // Opaque fill of the whole canvas.
  void Fill(const Paint& paint);
  // Makes pixels of the rectangle fully transparent again (a hole in an overlay).
  void Clear(int x0, int y0, int x1, int y1);
  // Draws another canvas over this one with its top-left at (x, y).
  void Draw(const Canvas& other, int x, int y, float opacity = 1.0f);

  float AlphaAt(int x, int y) const;
  Rgb ColorAt(int x, int y) const;  // un-premultiplied; black where transparent

  // Texels under half coverage become the key (7, 7, 7); partly covered edges are flattened
  // onto `matte`, the colour they will most likely be seen against. No drawn texel comes out
  // as a near-black that could be mistaken for the key.
  RgbImage ToKeyedImage(Rgb matte) const;

 private:
  int width_, height_;
  std::vector<float> px_;  // premultiplied r, g, b (0..255) and alpha (0..1)
};

}  // namespace assets
