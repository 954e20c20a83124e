// Pieces and blocks: `cBlock`, one square, and `cShape`, four blocks around a rotation centre.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/quad.h"

namespace brikka {

class cBlock {
 public:
  double MyX() const { return Square.MyCenterx; }
  double MyY() const { return Square.MyCentery; }

  // Keeps the size and builds the quad around bPos. The block texture is shared and passed
  // in when drawing, so nothing is loaded here.
  void Initialise(const Vector2& bPos, const Vector2& bsize);
  void DrawBlock(platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
                 const platform::Texture* LoadedTex = nullptr);
  void AmountTranslation(double xDir, double yDir);
  void RotateME(int16_t Clockwise, const Vector2& cPnt);
  void setdimOnly(float x, float y, double w, double h);

  uint32_t Color = 0;
  double Width = 0, Height = 0;
  cTLSquare Square;
};

class cShape {
 public:
  double cPntX() const { return cPnt.x; }
  double cPntY() const { return cPnt.y; }
  void cPntX(double v) { cPnt.x = static_cast<float>(v); }
  void cPntY(double v) { cPnt.y = static_cast<float>(v); }

  double BlockX(int index) const { return blocks[index].MyX(); }
  double BlockY(int index) const { return blocks[index].MyY(); }
  double BlockSizeX(int index) const { return blocks[index].Width; }
  double BlockSizeY(int index) const { return blocks[index].Height; }

  void Initialise(int16_t btype, uint32_t Scolor, const Vector2& STPos, const Vector2& sSize);
  void DrawShape(platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
                 const platform::Texture* LoadedTex = nullptr);
  void AmountTranslation(double xDir, double yDir);
  void RotateME(int16_t Clockwise);
  void SetEachBlock(const double BposX[4], const double BPosY[4], const Vector2& bsize,
                    int16_t btype);

  int16_t ShapeType = 0;
  uint32_t Scolor = 0;
  bool Rotated = false;
  Vector2 cPnt;
  std::array<cBlock, 4> blocks;
};

}  // namespace brikka
