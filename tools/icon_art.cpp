// The icon drawn at each size (not scaled from one picture, so small sizes stay crisp), and
// written as RGBA PNG through SDL_image.
#include "icon_art.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "block_art.h"
#include "canvas.h"
#include "raster.h"
#include "theme.h"

namespace assets {

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// A T piece about to drop on a stack of two others, on a 4 x 4 grid of cells: (column, row,
// piece type).
struct Cell {
  int col, row, type;
};
constexpr Cell kCells[] = {{1, 0, 7}, {0, 1, 7}, {1, 1, 7}, {2, 1, 7}, {0, 2, 3}, {0, 3, 3},
                           {1, 3, 3}, {2, 2, 2}, {3, 2, 2}, {2, 3, 2}, {3, 3, 2}};

Canvas DrawIcon(int size) {
  Canvas icon(size, size);
  const float n = static_cast<float>(size);
  const RectF tile{n / 32, n / 32, n - n / 32, n - n / 32};
  FillRoundRect(icon, tile, n / 6,
                VerticalGradient(tile.y0, palette::kSkyTop, tile.y1, palette::kSkyBottom));
  const int cell = std::max(3, static_cast<int>(std::floor(n * 0.75f / 4)));
  const int left = (size - 4 * cell) / 2, top = (size - 4 * cell) / 2;
  for (const Cell& c : kCells) {
    icon.Draw(MakeBlockTile(cell, PieceColour(c.type)), left + c.col * cell, top + c.row * cell);
  }
  return icon;
}

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

void WritePng(const std::filesystem::path& path, const Canvas& canvas) {
  std::unique_ptr<SDL_Surface, SurfaceFree> surface(SDL_CreateRGBSurfaceWithFormat(
      0, canvas.width(), canvas.height(), 32, SDL_PIXELFORMAT_RGBA32));
  if (!surface) throw std::runtime_error(std::string("cannot make an icon: ") + SDL_GetError());
  for (int y = 0; y < canvas.height(); ++y) {
    auto* row = static_cast<Uint8*>(surface->pixels) + y * surface->pitch;
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.ColorAt(x, y);
      const float channels[4] = {c.r, c.g, c.b, canvas.AlphaAt(x, y) * 255};
      for (int k = 0; k < 4; ++k) {
        row[x * 4 + k] = static_cast<Uint8>(std::clamp(std::lround(channels[k]), 0L, 255L));
      }
    }
  }
  if (IMG_SavePNG(surface.get(), path.c_str()) != 0) {
    throw std::runtime_error("cannot write " + path.string() + ": " + IMG_GetError());
  }
}

}  // namespace

void WriteIcons(const std::filesystem::path& icon_dir) {
  for (int size : kSizes) {
    const std::string dim = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path apps = icon_dir / "hicolor" / dim / "apps";
    std::filesystem::create_directories(apps);
    WritePng(apps / "brikka.png", DrawIcon(size));
  }
}

}  // namespace assets
