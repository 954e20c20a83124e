// The block tile: a dark rim, a lit top-left bevel, a shaded bottom-right bevel and a glossy face.
#include "block_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "tga.h"

namespace assets {

Rgb PieceColour(int type) {
  static const std::array<Rgb, 7> kColours = {Rgb{0, 255, 0},   Rgb{0, 138, 255}, Rgb{255, 255, 0},
                                              Rgb{255, 0, 255}, Rgb{255, 186, 0}, Rgb{251, 8, 105},
                                              Rgb{0, 228, 255}};
  return kColours[static_cast<size_t>(std::clamp(type, 1, 7) - 1)];
}

namespace {

// Grey level (0..255) of texel (x, y) of a block `size` wide: the picture the tint multiplies.
float BlockShade(int x, int y, int size) {
  const int bevel = std::max(2, static_cast<int>(std::lround(size * 0.13)));
  const int top = y, left = x, bottom = size - 1 - y, right = size - 1 - x;
  const int nearest = std::min({top, left, bottom, right});
  if (nearest == 0) return (top == 0 || left == 0) && bottom != 0 && right != 0 ? 150 : 96;
  if (nearest <= bevel) {
    // The bands meet on the diagonals, as on a pressed-metal tile.
    if (top == nearest && top <= right) return 255;
    if (left == nearest && left <= bottom) return 244;
    if (right == nearest) return 150;
    return 128;
  }
  const float t = (x + y) / (2.0f * size);
  float face = 236 - 36 * t;
  // A soft gloss towards the top-left of the face.
  const float gx = (x - size * 0.35f) / (size * 0.28f), gy = (y - size * 0.3f) / (size * 0.2f);
  face += 18 * std::max(0.0f, 1.0f - (gx * gx + gy * gy));
  return std::min(face, 255.0f);
}

}  // namespace

Canvas MakeBlockTile(int size, Rgb tint) {
  Canvas tile(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float k = BlockShade(x, y, size) / 255.0f;
      tile.Blend(x, y, {tint.r * k, tint.g * k, tint.b * k}, 1);
    }
  }
  return tile;
}

void DrawPiece(Canvas& canvas, int type, int x, int y, int cell, int quarter_turns, Rgb colour,
               float opacity) {
  // Cells of each type in a 4 x 2 box (column, row), the same shapes the game spawns.
  static const std::array<std::array<std::array<int, 2>, 4>, 7> kCells = {{
      {{{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
      {{{1, 0}, {2, 0}, {1, 1}, {2, 1}}},
      {{{0, 0}, {1, 0}, {2, 0}, {2, 1}}},
      {{{0, 0}, {1, 0}, {2, 0}, {0, 1}}},
      {{{1, 0}, {2, 0}, {0, 1}, {1, 1}}},
      {{{0, 0}, {1, 0}, {1, 1}, {2, 1}}},
      {{{1, 0}, {0, 1}, {1, 1}, {2, 1}}},
  }};
  const Canvas tile = MakeBlockTile(cell, colour);
  for (const auto& c : kCells[static_cast<size_t>(std::clamp(type, 1, 7) - 1)]) {
    int cx = c[0], cy = c[1];
    for (int t = 0; t < (quarter_turns & 3); ++t) {
      const int nx = 3 - cy;  // clockwise quarter turn inside a 4 x 4 box
      cy = cx;
      cx = nx;
    }
    canvas.Draw(tile, x + cx * cell, y + cy * cell, opacity);
  }
}

void WriteBlockPicture(const std::filesystem::path& texs) {
  WriteTga(texs / "Block.tga", MakeBlockTile(20, {255, 255, 255}).ToKeyedImage({128, 128, 128}));
}

}  // namespace assets
