// Antialiased shape rasterisation by signed distance or by supersampled inside tests.
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

struct PixelBounds {
  int x0, y0, x1, y1;
};

PixelBounds Clip(const Canvas& canvas, RectF r) {
  return {std::max(0, static_cast<int>(std::floor(r.x0))),
          std::max(0, static_cast<int>(std::floor(r.y0))),
          std::min(canvas.width(), static_cast<int>(std::ceil(r.x1))),
          std::min(canvas.height(), static_cast<int>(std::ceil(r.y1)))};
}

RectF Grown(RectF r, float d) {
  return r.Inset(-d);
}

}  // namespace

Sdf RoundRectSdf(RectF r, float radius) {
  return [=](float x, float y) {
    const float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
    const float qx = std::fabs(x - cx) - (r.width() / 2 - radius);
    const float qy = std::fabs(y - cy) - (r.height() / 2 - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
  };
}

Sdf CircleSdf(PointF c, float radius) {
  return [=](float x, float y) { return std::hypot(x - c.x, y - c.y) - radius; };
}

void FillSdf(Canvas& canvas, RectF bounds, const Sdf& sdf, const Paint& paint, float opacity,
             float softness) {
  const PixelBounds b = Clip(canvas, bounds);
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) {
      const float fx = x + 0.5f, fy = y + 0.5f;
      const float cover = std::clamp(0.5f - sdf(fx, fy) / softness, 0.0f, 1.0f);
      if (cover > 0) canvas.Blend(x, y, paint(fx, fy), cover * opacity);
    }
  }
}

void FillRoundRect(Canvas& canvas, RectF r, float radius, const Paint& paint, float opacity) {
  FillSdf(canvas, Grown(r, 1), RoundRectSdf(r, radius), paint, opacity);
}

void StrokeRoundRect(Canvas& canvas, RectF r, float radius, float width, const Paint& paint,
                     float opacity) {
  const Sdf outer = RoundRectSdf(r, radius);
  const Sdf band = [=](float x, float y) { return std::fabs(outer(x, y) + width / 2) - width / 2; };
  FillSdf(canvas, Grown(r, 1), band, paint, opacity);
}

void SoftRoundRect(Canvas& canvas, RectF r, float radius, float blur, Rgb colour, float opacity) {
  FillSdf(canvas, Grown(r, blur + 1), RoundRectSdf(r, radius), Solid(colour), opacity,
          std::max(1.0f, 2 * blur));
}

void FillCircle(Canvas& canvas, PointF c, float radius, const Paint& paint, float opacity) {
  FillSdf(canvas, {c.x - radius - 1, c.y - radius - 1, c.x + radius + 1, c.y + radius + 1},
          CircleSdf(c, radius), paint, opacity);
}

void FillRegion(Canvas& canvas, RectF bounds, const std::function<bool(float, float)>& inside,
                const Paint& paint, float opacity) {
  const PixelBounds b = Clip(canvas, bounds);
  constexpr int kSamples = 4;
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) {
      int hits = 0;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          hits += inside(x + (i + 0.5f) / kSamples, y + (j + 0.5f) / kSamples) ? 1 : 0;
        }
      }
      if (hits > 0) {
        canvas.Blend(x, y, paint(x + 0.5f, y + 0.5f),
                     opacity * hits / static_cast<float>(kSamples * kSamples));
      }
    }
  }
}

bool InsidePolygon(const std::vector<PointF>& pts, float x, float y) {
  bool inside = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const PointF& a = pts[i];
    const PointF& b = pts[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

void FillPolygon(Canvas& canvas, const std::vector<PointF>& pts, const Paint& paint,
                 float opacity) {
  if (pts.size() < 3) return;
  RectF box{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
  for (const PointF& p : pts) {
    box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x),
           std::max(box.y1, p.y)};
  }
  FillRegion(
      canvas, Grown(box, 1), [&](float x, float y) { return InsidePolygon(pts, x, y); }, paint,
      opacity);
}

Paint Bevel(Paint base, Sdf sdf, float width, float strength) {
  // Light comes from the top left, as on every raised surface in the game.
  const float lx = -0.55f, ly = -0.835f;
  return [=](float x, float y) {
    const Rgb c = base(x, y);
    const float depth = -sdf(x, y);
    if (depth >= width || depth < -1) return c;
    const float e = 0.5f;
    const float nx = sdf(x + e, y) - sdf(x - e, y);
    const float ny = sdf(x, y + e) - sdf(x, y - e);
    const float len = std::hypot(nx, ny);
    if (len < 1e-4f) return c;
    const float facing = (nx * lx + ny * ly) / len;
    const float ramp = 1.0f - std::clamp(depth / width, 0.0f, 1.0f);
    return Lit(c, strength * facing * std::sqrt(ramp));
  };
}

}  // namespace assets
