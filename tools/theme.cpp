// Backdrop, frames, panels and insets shared by the play screen and the menu pictures.
#include "theme.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assets {

float Hash01(int x, int y, int salt) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(salt) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / static_cast<float>(0x1000000);
}

void AddGlow(Canvas& canvas, PointF c, float radius, Rgb colour, float opacity) {
  const int x0 = std::max(0, static_cast<int>(c.x - radius));
  const int x1 = std::min(canvas.width(), static_cast<int>(c.x + radius) + 1);
  const int y0 = std::max(0, static_cast<int>(c.y - radius));
  const int y1 = std::min(canvas.height(), static_cast<int>(c.y + radius) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float d = std::hypot(x + 0.5f - c.x, y + 0.5f - c.y) / radius;
      if (d < 1) canvas.Blend(x, y, colour, opacity * (1 - d) * (1 - d));
    }
  }
}

void PaintBackdrop(Canvas& canvas) {
  const float h = static_cast<float>(canvas.height());
  canvas.Fill([h](float x, float y) {
    Rgb c = Mix(palette::kSkyTop, palette::kSkyBottom, std::clamp(y / h, 0.0f, 1.0f));
    // A faint diagonal weave gives the flat gradient some cloth.
    const int band = static_cast<int>(std::floor((x + y) / 18.0f)) & 1;
    const int cross = static_cast<int>(std::floor((x - y + 2000) / 18.0f)) & 1;
    const float weave = 1.5f * band + 1.5f * cross;
    const float dither = Hash01(static_cast<int>(x), static_cast<int>(y), 1) * 2 - 1;
    return Rgb{c.r + weave + dither, c.g + weave + dither, c.b + weave * 1.6f + dither};
  });
  const float w = static_cast<float>(canvas.width());
  AddGlow(canvas, {w * 0.12f, h * 0.1f}, w * 0.5f, {150, 50, 190}, 0.28f);
  AddGlow(canvas, {w * 0.9f, h * 0.95f}, w * 0.55f, {20, 120, 190}, 0.25f);
}

void DrawMetalFrame(Canvas& canvas, RectF outer, RectF hole, float radius) {
  SoftRoundRect(canvas, outer.Moved(3, 5), radius, 6, {0, 0, 8}, 0.55f);
  const Sdf shape = RoundRectSdf(outer, radius);
  const Paint metal = [outer](float, float y) {
    const float t = std::clamp((y - outer.y0) / outer.height(), 0.0f, 1.0f);
    const Rgb c = Mix(palette::kMetalTop, palette::kMetalBottom, t);
    // Brushed streaks across the metal.
    const float streak = (Hash01(0, static_cast<int>(y), 7) - 0.5f) * 10;
    return Rgb{c.r + streak, c.g + streak, c.b + streak};
  };
  FillRoundRect(canvas, outer, radius, Bevel(metal, shape, 3.5f, 0.55f));
  // The lip around the opening is sunken, so the well looks set into the frame.
  const RectF lip = hole.Inset(-3.5f);
  FillRoundRect(
      canvas, lip, 2,
      Bevel(Solid(Scaled(palette::kMetalBottom, 0.8f)), RoundRectSdf(lip, 2), 3.5f, -0.6f));
  StrokeRoundRect(canvas, hole.Inset(-1), 0, 1, Solid(palette::kOutline));
}

void DrawPanel(Canvas& canvas, RectF r, float radius) {
  SoftRoundRect(canvas, r.Moved(3, 5), radius, 6, {0, 0, 8}, 0.5f);
  FillRoundRect(canvas, r, radius,
                Bevel(VerticalGradient(r.y0, palette::kPanelTop, r.y1, palette::kPanelBottom),
                      RoundRectSdf(r, radius), 3, 0.35f));
  StrokeRoundRect(canvas, r, radius, 2,
                  VerticalGradient(r.y0, {130, 140, 210}, r.y1, {60, 66, 128}));
  StrokeRoundRect(canvas, r.Inset(2), radius - 2, 1, Solid({14, 14, 36}), 0.6f);
}

void DrawInset(Canvas& canvas, RectF r, float radius) {
  FillRoundRect(canvas, r.Inset(-1), radius + 1, Solid({90, 100, 170}), 0.55f);
  FillRoundRect(canvas, r, radius,
                Bevel(VerticalGradient(r.y0, palette::kInsetTop, r.y1, palette::kInsetBottom),
                      RoundRectSdf(r, radius), 3, -0.25f));
}

}  // namespace assets
