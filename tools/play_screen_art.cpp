// The play screen: two framed wells, a side panel for each player (next piece, keys, score,
// level, lines) and a strip for the key hints. The overlay (main.tga) is the same picture with
// the wells cut out as the colour key, so blocks show through and pieces hide above the wells.
#include "play_screen_art.h"

#include <algorithm>
#include <string>
#include <vector>

#include "block_art.h"
#include "canvas.h"
#include "raster.h"
#include "tga.h"
#include "theme.h"
#include "title_art.h"

namespace assets {

namespace {

// The wells the game plays in (left, top, right, bottom; right and bottom exclusive).
constexpr RectF kLeftWell{50, 100, 250, 500};
constexpr RectF kRightWell{450, 100, 650, 500};
constexpr float kFrame = 8;

struct Side {
  RectF well;
  float panel_x;    // left edge of the side panel
  float preview_x;  // centre of the preview piece
  const char* name;
  Rgb accent;
  bool arrows;  // arrow keys (player 1) or W A S D (player 2)
};

void DrawKeycap(Canvas& canvas, Lettering& lettering, RectF r, const std::string& label,
                int arrow_dir) {
  SoftRoundRect(canvas, r.Moved(1, 2), 4, 2, {0, 0, 8}, 0.6f);
  FillRoundRect(canvas, r, 4,
                Bevel(VerticalGradient(r.y0, {214, 218, 240}, r.y1, {150, 156, 196}),
                      RoundRectSdf(r, 4), 3, 0.5f));
  const float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
  if (arrow_dir < 0) {
    TextStyle style{{40, 40, 80}, {40, 40, 80}, {}, 0, {}, 0, 0, 0, 0};
    DrawLabel(canvas, lettering, label, 15, cx, cy, style);
    return;
  }
  // Arrow triangle pointing up (0), left (1), down (2) or right (3).
  static const PointF kUp[3] = {{0, -5}, {-5, 3.5f}, {5, 3.5f}};
  std::vector<PointF> tri;
  for (const PointF& p : kUp) {
    PointF q = p;
    for (int t = 0; t < arrow_dir; ++t) q = {q.y, -q.x};  // quarter turn anticlockwise
    tri.push_back({cx + q.x, cy + q.y});
  }
  FillPolygon(canvas, tri, Solid({40, 40, 80}));
}

void DrawKeys(Canvas& canvas, Lettering& lettering, const Side& side, float cx, float top) {
  const float key = 24, gap = 3;
  const char* letters[4] = {"W", "A", "S", "D"};
  const RectF cells[4] = {
      {cx - key / 2, top, cx + key / 2, top + key},
      {cx - key * 1.5f - gap, top + key + gap, cx - key / 2 - gap, top + 2 * key + gap},
      {cx - key / 2, top + key + gap, cx + key / 2, top + 2 * key + gap},
      {cx + key / 2 + gap, top + key + gap, cx + key * 1.5f + gap, top + 2 * key + gap}};
  const int arrow[4] = {0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) {
    DrawKeycap(canvas, lettering, cells[i], letters[i], side.arrows ? arrow[i] : -1);
  }
}

void DrawStats(Canvas& canvas, float cx) {
  for (int row = 0; row < 3; ++row) {
    const float y = 310.0f + 60 * row;  // where the game writes the label; the value follows
    const RectF bar{cx - 60, y - 4, cx + 60, y + 25};
    FillRoundRect(canvas, bar, 7,
                  Bevel(VerticalGradient(bar.y0, {70, 78, 150}, bar.y1, {44, 48, 104}),
                        RoundRectSdf(bar, 7), 2.5f, 0.4f));
    DrawInset(canvas, {cx - 60, y + 28, cx + 60, y + 56}, 5);
  }
}

void DrawSidePanel(Canvas& canvas, Lettering& lettering, const Side& side) {
  const RectF panel{side.panel_x, kLeftWell.y0 - kFrame, side.panel_x + 134, kLeftWell.y1 + kFrame};
  DrawPanel(canvas, panel, 10);
  const float cx = (panel.x0 + panel.x1) / 2;
  TextStyle heading;
  heading.top = {255, 255, 255};
  heading.bottom = {190, 220, 255};
  DrawLabel(canvas, lettering, "Next", 18, cx, 107, heading);
  // The preview piece's four by two cells sit between y 127.5 and 167.5 around its centre.
  DrawInset(canvas, {side.preview_x - 47, 119, side.preview_x + 47, 176}, 7);
  TextStyle player;
  player.top = Lit(side.accent, 0.55f);
  player.bottom = side.accent;
  DrawLabel(canvas, lettering, side.name, 21, cx, 208, player);
  DrawKeys(canvas, lettering, side, cx, 228);
  DrawStats(canvas, cx);
}

void DrawHintStrip(Canvas& canvas, const RectF& well) {
  const RectF strip{well.x0 - 6, 564, well.x1 + 6, 594};
  DrawPanel(canvas, strip, 8);
}

// Everything of the play screen but the wells' contents.
Canvas PlayScreen(Lettering& lettering) {
  Canvas screen(800, 600);
  PaintBackdrop(screen);
  DrawTitleWord(screen, lettering, 400, 45, 74, 300);
  const Side sides[2] = {
      {kLeftWell, 262, 330, "Player 2", {255, 120, 210}, false},
      {kRightWell, 662, 730, "Player 1", {90, 220, 255}, true},
  };
  for (const Side& side : sides) {
    DrawMetalFrame(screen, side.well.Inset(-kFrame), side.well, 9);
    DrawSidePanel(screen, lettering, side);
    DrawHintStrip(screen, side.well);
  }
  return screen;
}

void PaintWell(Canvas& canvas, const RectF& well) {
  const Paint inside = [well](float x, float y) {
    Rgb c = Mix(palette::kWellTop, palette::kWellBottom, (y - well.y0) / well.height());
    // Slightly darker towards the side walls, so the well has depth without any pattern.
    const float edge = std::min(x - well.x0, well.x1 - x) / 30.0f;
    return Scaled(c, 0.8f + 0.2f * std::min(edge, 1.0f));
  };
  for (int y = static_cast<int>(well.y0); y < well.y1; ++y) {
    for (int x = static_cast<int>(well.x0); x < well.x1; ++x) {
      canvas.Blend(x, y, inside(x + 0.5f, y + 0.5f), 1);
    }
  }
}

Canvas GridPicture() {
  Canvas grid(200, 400);
  const Rgb line{52, 60, 104}, dot{86, 98, 160};
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 200; ++x) {
      const bool vertical = x % 20 == 0 && x > 0;
      const bool horizontal = y % 20 == 0 && y > 0;
      if (vertical && horizontal)
        grid.Blend(x, y, dot, 1);
      else if (vertical || horizontal)
        grid.Blend(x, y, line, 1);
    }
  }
  return grid;
}

}  // namespace

void WritePlayScreenPictures(const std::filesystem::path& texs, Lettering& lettering) {
  const Canvas screen = PlayScreen(lettering);
  Canvas background = screen;
  PaintWell(background, kLeftWell);
  PaintWell(background, kRightWell);
  WriteTga(texs / "frames.tga", background.ToKeyedImage(palette::kSkyBottom));
  Canvas overlay = screen;
  for (const RectF& well : {kLeftWell, kRightWell}) {
    overlay.Clear(static_cast<int>(well.x0), static_cast<int>(well.y0), static_cast<int>(well.x1),
                  static_cast<int>(well.y1));
  }
  WriteTga(texs / "main.tga", overlay.ToKeyedImage(palette::kSkyBottom));
  WriteTga(texs / "Grid.tga", GridPicture().ToKeyedImage(palette::kWellBottom));
}

}  // namespace assets
