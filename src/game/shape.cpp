// `cBlock` and `cShape`: the seven piece layouts, moving and turning a piece, drawing it.
#include "game/shape.h"

namespace brikka {

namespace {

// Block centres and the rotation centre of each type, in block widths and heights from the
// point a piece is placed at (its lower row sits half a block above that point).
struct Layout {
  float block[4][2];
  float centre[2];
};

constexpr Layout kLayouts[7] = {
    {{{-1.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}, {1.5f, -0.5f}}, {-0.5f, -0.5f}},
    {{{-0.5f, -1.5f}, {0.5f, -1.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}}, {0.0f, -1.0f}},
    {{{0.5f, -0.5f}, {0.5f, -1.5f}, {-0.5f, -1.5f}, {-1.5f, -1.5f}}, {-0.5f, -0.5f}},
    {{{-1.5f, -0.5f}, {0.5f, -1.5f}, {-0.5f, -1.5f}, {-1.5f, -1.5f}}, {-0.5f, -0.5f}},
    {{{-1.5f, -0.5f}, {-0.5f, -0.5f}, {-0.5f, -1.5f}, {0.5f, -1.5f}}, {-0.5f, -1.5f}},
    {{{0.5f, -0.5f}, {-0.5f, -0.5f}, {-0.5f, -1.5f}, {-1.5f, -1.5f}}, {-0.5f, -1.5f}},
    {{{-1.5f, -0.5f}, {-0.5f, -0.5f}, {-0.5f, -1.5f}, {0.5f, -0.5f}}, {-0.5f, -0.5f}},
};

// Positions are worked out in Doubles and handed over as Singles.
Vector2 Offset(const Vector2& at, const float rel[2], const Vector2& size) {
  return Vector2{static_cast<float>(at.x + rel[0] * static_cast<double>(size.x)),
                 static_cast<float>(at.y + rel[1] * static_cast<double>(size.y))};
}

}  // namespace

void cBlock::Initialise(const Vector2& bPos, const Vector2& bsize) {
  Width = bsize.x;
  Height = bsize.y;
  Square.init(bsize.x, bsize.y, bPos.x - bsize.x / 2, bPos.y - bsize.y / 2, std::string(), bsize.x,
              bsize.y, nullptr, true);
}

void cBlock::DrawBlock(platform::Device* d3ddevice, bool TexAlreadyLoaded,
                       const platform::Texture* LoadedTex) {
  Square.draw(Color, d3ddevice, TexAlreadyLoaded, LoadedTex);
}

void cBlock::AmountTranslation(double xDir, double yDir) {
  Square.AmountTranslation(xDir, yDir);
}

void cBlock::RotateME(int16_t Clockwise, const Vector2& cPnt) {
  Square.RotateME(Clockwise, cPnt);
}

// Rebuilds the quad around the new centre, so the block's centre follows; the colour is the
// block's own and the texture is the shared one, so neither is touched.
void cBlock::setdimOnly(float x, float y, double w, double h) {
  Width = w;
  Height = h;
  Square.init(w, h, x - w / 2, y - h / 2, std::string(), w, h, nullptr, true);
}

void cShape::Initialise(int16_t btype, uint32_t color, const Vector2& STPos, const Vector2& sSize) {
  Scolor = color;
  for (cBlock& b : blocks) b.Color = color;
  ShapeType = btype;
  if (btype < 1 || btype > 7) return;
  const Layout& layout = kLayouts[btype - 1];
  for (int i = 0; i < 4; ++i) blocks[i].Initialise(Offset(STPos, layout.block[i], sSize), sSize);
  cPnt = Offset(STPos, layout.centre, sSize);
}

void cShape::DrawShape(platform::Device* d3ddevice, bool TexAlreadyLoaded,
                       const platform::Texture* LoadedTex) {
  for (cBlock& b : blocks) b.DrawBlock(d3ddevice, TexAlreadyLoaded, LoadedTex);
}

void cShape::AmountTranslation(double xDir, double yDir) {
  cPnt.x = static_cast<float>(cPnt.x + xDir);
  cPnt.y = static_cast<float>(cPnt.y + yDir);
  for (cBlock& b : blocks) b.AmountTranslation(xDir, yDir);
}

// The square never turns; the bar and the two S-shapes swing between two orientations, the
// second turn undoing the first; the others take all four.
void cShape::RotateME(int16_t Clockwise) {
  if (ShapeType == 2) return;
  int16_t c = Clockwise;
  if (ShapeType == 1 || ShapeType == 5 || ShapeType == 6) {
    if (Rotated) {
      Rotated = false;
      c = static_cast<int16_t>(-c);
    } else {
      Rotated = true;
    }
  }
  for (cBlock& b : blocks) b.RotateME(c, cPnt);
}

void cShape::SetEachBlock(const double BposX[4], const double BPosY[4], const Vector2& bsize,
                          int16_t btype) {
  ShapeType = btype;
  for (int i = 0; i < 4; ++i) {
    blocks[i].Initialise(Vector2{static_cast<float>(BposX[i]), static_cast<float>(BPosY[i])},
                         bsize);
  }
}

}  // namespace brikka
