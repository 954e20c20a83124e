// The game's shared look: the night-blue backdrop, bevelled metal frames, dark panels and inset
// read-outs that the play screen and the menu pictures are built from.
#pragma once

#include "canvas.h"
#include "raster.h"

namespace assets {

namespace palette {
inline constexpr Rgb kSkyTop{36, 28, 84};
inline constexpr Rgb kSkyBottom{12, 14, 40};
inline constexpr Rgb kPanelTop{34, 36, 80};
inline constexpr Rgb kPanelBottom{20, 22, 52};
inline constexpr Rgb kInsetTop{10, 11, 26};
inline constexpr Rgb kInsetBottom{18, 20, 42};
inline constexpr Rgb kMetalTop{168, 180, 228};
inline constexpr Rgb kMetalBottom{74, 84, 150};
inline constexpr Rgb kOutline{16, 14, 40};
inline constexpr Rgb kWellTop{18, 20, 44};
inline constexpr Rgb kWellBottom{10, 11, 28};
}  // namespace palette

// A deterministic value in [0, 1) for a texel: dithering and scattered decoration.
float Hash01(int x, int y, int salt);

// Full-canvas night gradient with two soft coloured glows and a faint diagonal weave.
void PaintBackdrop(Canvas& canvas);
// Adds a radial glow of `colour` around (cx, cy).
void AddGlow(Canvas& canvas, PointF centre, float radius, Rgb colour, float opacity);

// A raised metal frame filling `outer` around the rectangular opening `hole`; the opening
// itself is left untouched for the caller to fill or cut out.
void DrawMetalFrame(Canvas& canvas, RectF outer, RectF hole, float radius);
// A dark raised panel with a light rim.
void DrawPanel(Canvas& canvas, RectF r, float radius);
// A sunken dark box (read-outs, the preview box).
void DrawInset(Canvas& canvas, RectF r, float radius);

}  // namespace assets
