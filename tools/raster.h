// Antialiased shape drawing on a Canvas: rounded rectangles, circles and rings through signed
// distances, polygons and free regions through supersampling, and bevel lighting.
#pragma once

#include <functional>
#include <vector>

#include "canvas.h"

namespace assets {

struct RectF {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  float width() const { return x1 - x0; }
  float height() const { return y1 - y0; }
  RectF Inset(float d) const { return {x0 + d, y0 + d, x1 - d, y1 - d}; }
  RectF Moved(float dx, float dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};

struct PointF {
  float x = 0, y = 0;
};

// Signed distance to a shape: negative inside, in pixels.
using Sdf = std::function<float(float x, float y)>;
Sdf RoundRectSdf(RectF r, float radius);
Sdf CircleSdf(PointF centre, float radius);

// Fills where the distance is negative, with a one-pixel antialiased edge. `softness` widens the
// edge into a blur (for glows and shadows). Only pixels inside `bounds` are visited.
void FillSdf(Canvas& canvas, RectF bounds, const Sdf& sdf, const Paint& paint, float opacity = 1,
             float softness = 1);
void FillRoundRect(Canvas& canvas, RectF r, float radius, const Paint& paint, float opacity = 1);
// A band `width` wide just inside the rounded rectangle's edge.
void StrokeRoundRect(Canvas& canvas, RectF r, float radius, float width, const Paint& paint,
                     float opacity = 1);
// A blurred copy of the rounded rectangle, for drop shadows and glows.
void SoftRoundRect(Canvas& canvas, RectF r, float radius, float blur, Rgb colour, float opacity);
void FillCircle(Canvas& canvas, PointF centre, float radius, const Paint& paint, float opacity = 1);

// Fills any region given by an inside test, 4 x 4 samples per pixel.
void FillRegion(Canvas& canvas, RectF bounds, const std::function<bool(float, float)>& inside,
                const Paint& paint, float opacity = 1);
void FillPolygon(Canvas& canvas, const std::vector<PointF>& points, const Paint& paint,
                 float opacity = 1);
bool InsidePolygon(const std::vector<PointF>& points, float x, float y);

// Lights a paint as a raised (or, with a negative strength, sunken) surface: texels within
// `width` of the shape's edge get lighter facing the top-left light and darker facing away.
Paint Bevel(Paint base, Sdf sdf, float width, float strength);

}  // namespace assets
