// Textured screen quads: the pre-transformed vertex, `cTLSquare` and the two-state `cButton`.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/display.h"

namespace brikka {

// A pair of Singles for positions and sizes handed to pieces and quads.
struct Vector2 {
  float x = 0;
  float y = 0;
};

// The pre-transformed, lit, textured vertex of every quad (32 bytes).
struct TLVertex {
  float X = 0, Y = 0, Z = 0, rhw = 1.0f;
  uint32_t color = 0xFFFFFFFF;
  uint32_t specular = 0;
  float tu = 0, tv = 0;
};

// Loads a game path ("<app folder>\Texs\Block.tga") as a texture of texwidth x texheight
// with the colour key (trans, trans, trans).
platform::TextureRef LoadGameTexture(platform::Device* device, const std::string& path,
                                     double texwidth, double texheight, uint32_t trans = 7);

class cTLSquare {
 public:
  double MyCenterx = 0, MyCentery = 0, Leftx = 0, Topy = 0;

  void init(double swidth, double sheight, double sleft, double sqtop,
            const std::string& Texturepath, double texwidth, double texheight,
            platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
            const platform::TextureRef& LoadedTex = nullptr);
  void draw(uint32_t color, platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
            const platform::Texture* LoadedTex = nullptr);
  void cinit(double swidth, double sheight, double sleft, double sqtop,
             const std::string& Texturepath, double texwidth, double texheight, int32_t trans,
             platform::Device* d3ddevice, bool TexAlreadyLoaded = false);
  void AmountTranslation(double xDir, double yDir);
  void RotateME(int16_t Clockwise, const Vector2& cPnt);
  void setdimOnly(float x, float y);

  const std::array<TLVertex, 4>& Vertices() const { return v_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  const platform::TextureRef& OwnTexture() const { return tex_; }

 private:
  std::array<TLVertex, 4> v_{};
  double width_ = 0, height_ = 0;
  platform::TextureRef tex_;
};

class cButton {
 public:
  double sqwidth = 0, sqheight = 0, MyCenterx = 0, MyCentery = 0, Leftx = 0, Topy = 0;
  bool Grayed = false;

  void init(double swidth, double sheight, double sleft, double sqtop,
            const std::string& Texturepath, const std::string& Texturedownpath, double texwidth,
            double texheight, platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
            const platform::TextureRef& LoadedTex = nullptr);
  void draw(bool bdown, uint32_t color, platform::Device* d3ddevice, bool TexAlreadyLoaded = false,
            const platform::Texture* LoadedTex = nullptr);
  void cinit(double swidth, double sheight, double sleft, double sqtop,
             const std::string& Texturepath, double texwidth, double texheight, int32_t trans,
             platform::Device* d3ddevice, bool TexAlreadyLoaded = false);
  void AmountTranslation(double xDir, double yDir);
  void RotateME(int16_t Clockwise, const Vector2& cPnt);
  void setdimOnly(float x, float y);

  const std::array<TLVertex, 4>& Vertices() const { return v_; }

 private:
  std::array<TLVertex, 4> v_{};
  double width_ = 0, height_ = 0;
  platform::TextureRef up_, down_;
};

}  // namespace brikka
