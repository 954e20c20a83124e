// Menu background: the night backdrop with dim pieces falling down the sides and a settled pile
// along the bottom, kept dark so the highscore table's white and red text stays readable.
#include "menu_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "block_art.h"
#include "canvas.h"
#include "raster.h"
#include "tga.h"
#include "theme.h"

namespace assets {

namespace {

struct FallingPiece {
  int type, x, y, cell, turns;
};

// Hand-placed in the margins (some cut by the screen edge) so the middle, where the buttons
// and the highscore table sit, stays calm.
constexpr FallingPiece kFalling[] = {
    {1, -34, 70, 22, 1},  {3, 20, 8, 20, 0},    {4, -72, 250, 26, 1}, {2, -30, 420, 20, 0},
    {6, 676, 30, 24, 0},  {6, 598, 112, 18, 2}, {4, 700, 190, 28, 1}, {7, 612, 320, 22, 0},
    {1, 700, 350, 20, 1}, {5, 650, 400, 24, 3},
};

void DrawPile(Canvas& canvas) {
  const int cell = 24;
  for (int row = 0; row < 2; ++row) {
    const int y = 600 - (row + 1) * cell;
    for (int col = 0; col * cell < 800; ++col) {
      const float fill = row == 0 ? 0.88f : 0.55f;
      if (Hash01(col, row, 21) > fill) continue;
      const int type = 1 + static_cast<int>(Hash01(col, row, 22) * 7);
      canvas.Draw(MakeBlockTile(cell, PieceColour(type)), col * cell - 4, y, 0.3f);
    }
  }
}

void AddVignette(Canvas& canvas) {
  const float cx = canvas.width() / 2.0f, cy = canvas.height() / 2.0f;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const float d = std::hypot((x - cx) / cx, (y - cy) / cy);
      const float t = std::clamp((d - 0.7f) / 0.7f, 0.0f, 1.0f);
      canvas.Blend(x, y, {0, 0, 6}, 0.45f * t * t);
    }
  }
}

Canvas Background() {
  Canvas bck(800, 600);
  PaintBackdrop(bck);
  for (const FallingPiece& p : kFalling) {
    DrawPiece(bck, p.type, p.x, p.y, p.cell, p.turns, PieceColour(p.type), 0.28f);
  }
  DrawPile(bck);
  AddVignette(bck);
  return bck;
}

Canvas Cursor() {
  Canvas cursor(32, 32);
  // The tip sits on texel (0, 0): the game's click point is the picture's top-left corner.
  const std::vector<PointF> outer = {{-0.4f, -0.4f}, {-0.4f, 25.6f}, {6.1f, 20.1f}, {10.6f, 30.1f},
                                     {16.1f, 27.6f}, {11.8f, 18.6f}, {20.1f, 18.6f}};
  const std::vector<PointF> inner = {{1.2f, 3.3f},   {1.2f, 21.9f}, {6.6f, 17.3f}, {11.4f, 27.8f},
                                     {14.0f, 26.6f}, {9.3f, 17.1f}, {16.3f, 17.1f}};
  FillPolygon(cursor, outer, Solid({18, 16, 44}));
  FillPolygon(cursor, inner, VerticalGradient(2, {255, 255, 255}, 26, {150, 225, 255}));
  return cursor;
}

}  // namespace

void WriteMenuPictures(const std::filesystem::path& texs) {
  WriteTga(texs / "bck.tga", Background().ToKeyedImage(palette::kSkyBottom));
  WriteTga(texs / "cursor.tga", Cursor().ToKeyedImage(palette::kSkyBottom));
}

}  // namespace assets
