// Canvas blending and the export rules that keep the colour key (7, 7, 7) for empty texels only.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace assets {

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scaled(Rgb c, float k) {
  return {c.r * k, c.g * k, c.b * k};
}

Rgb Lit(Rgb c, float amount) {
  if (amount >= 0) return Mix(c, Rgb{255, 255, 255}, std::min(amount, 1.0f));
  return Mix(c, Rgb{0, 0, 0}, std::min(-amount, 1.0f));
}

Rgb FromHex(unsigned hex) {
  return {static_cast<float>((hex >> 16) & 0xFF), static_cast<float>((hex >> 8) & 0xFF),
          static_cast<float>(hex & 0xFF)};
}

Paint Solid(Rgb c) {
  return [c](float, float) { return c; };
}

Paint VerticalGradient(float y0, Rgb top, float y1, Rgb bottom) {
  return [=](float, float y) {
    float t = (y - y0) / std::max(1e-3f, y1 - y0);
    return Mix(top, bottom, std::clamp(t, 0.0f, 1.0f));
  };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::Blend(int x, int y, Rgb c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  alpha = std::min(alpha, 1.0f);
  float* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
  const float keep = 1.0f - alpha;
  p[0] = c.r * alpha + p[0] * keep;
  p[1] = c.g * alpha + p[1] * keep;
  p[2] = c.b * alpha + p[2] * keep;
  p[3] = alpha + p[3] * keep;
}

void Canvas::Fill(const Paint& paint) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) Blend(x, y, paint(x + 0.5f, y + 0.5f), 1.0f);
  }
}

void Canvas::Clear(int x0, int y0, int x1, int y1) {
  for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) {
      std::fill_n(&px_[(static_cast<size_t>(y) * width_ + x) * 4], 4, 0.0f);
    }
  }
}

void Canvas::Draw(const Canvas& other, int x, int y, float opacity) {
  for (int j = 0; j < other.height(); ++j) {
    for (int i = 0; i < other.width(); ++i) {
      Blend(x + i, y + j, other.ColorAt(i, j), other.AlphaAt(i, j) * opacity);
    }
  }
}

float Canvas::AlphaAt(int x, int y) const {
  return px_[(static_cast<size_t>(y) * width_ + x) * 4 + 3];
}

Rgb Canvas::ColorAt(int x, int y) const {
  const float* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
  if (p[3] <= 0) return {};
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3]};
}

RgbImage Canvas::ToKeyedImage(Rgb matte) const {
  RgbImage out{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
  for (size_t i = 0; i < static_cast<size_t>(width_) * height_; ++i) {
    const float* p = &px_[i * 4];
    uint8_t* o = &out.rgb[i * 3];
    if (p[3] < 0.5f) {
      o[0] = o[1] = o[2] = 7;
      continue;
    }
    const float keep = 1.0f - p[3];
    const float c[3] = {p[0] + matte.r * keep, p[1] + matte.g * keep, p[2] + matte.b * keep};
    for (int k = 0; k < 3; ++k)
      o[k] = static_cast<uint8_t>(std::clamp(std::lround(c[k]), 0L, 255L));
    // Near-black texels would blur into the key when the texture is filtered: lift them.
    if (o[0] < 10 && o[1] < 10 && o[2] < 10) o[0] = o[1] = o[2] = 10;
  }
  return out;
}

}  // namespace assets
