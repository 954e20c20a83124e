// `cButton`: a screen quad with an "up" and a "down" picture and a greyed-out mark.
#include "platform/numbers.h"
#include "render/quad.h"
#include "render/quad_ops.h"

namespace brikka {

namespace {
// The colour the screens draw a button in when it cannot be used.
constexpr uint32_t kGrey = platform::D3DColorXRGB(123, 123, 123);
}  // namespace

void cButton::init(double swidth, double sheight, double sleft, double sqtop,
                   const std::string& Texturepath, const std::string& Texturedownpath,
                   double texwidth, double texheight, platform::Device* d3ddevice,
                   bool TexAlreadyLoaded, const platform::TextureRef& /*LoadedTex*/) {
  sqwidth = swidth;
  sqheight = sheight;
  MyCenterx = sleft + swidth / 2;
  MyCentery = sqtop + sheight / 2;
  Leftx = sleft;
  Topy = sqtop;
  width_ = swidth;
  height_ = sheight;
  if (!TexAlreadyLoaded) {
    up_ = LoadGameTexture(d3ddevice, Texturepath, texwidth, texheight);
    down_ = LoadGameTexture(d3ddevice, Texturedownpath, texwidth, texheight);
  }
  quad_ops::Build(v_, sleft, sqtop, swidth, sheight);
}

void cButton::draw(bool bdown, uint32_t color, platform::Device* d3ddevice, bool TexAlreadyLoaded,
                   const platform::Texture* LoadedTex) {
  Grayed = color == kGrey;
  const platform::Texture* own = bdown ? down_.get() : up_.get();
  quad_ops::Draw(v_, color, d3ddevice, TexAlreadyLoaded ? LoadedTex : own);
}

void cButton::cinit(double swidth, double sheight, double sleft, double sqtop,
                    const std::string& Texturepath, double texwidth, double texheight,
                    int32_t trans, platform::Device* d3ddevice, bool TexAlreadyLoaded) {
  if (!TexAlreadyLoaded) {
    up_ =
        LoadGameTexture(d3ddevice, Texturepath, texwidth, texheight, static_cast<uint32_t>(trans));
  }
  quad_ops::Build(v_, sleft, sqtop, swidth, sheight);
}

void cButton::AmountTranslation(double xDir, double yDir) {
  quad_ops::Translate(v_, xDir, yDir, MyCenterx, Leftx, MyCentery, Topy);
}

void cButton::RotateME(int16_t Clockwise, const Vector2& cPnt) {
  quad_ops::Rotate(v_, Clockwise, cPnt, MyCenterx, MyCentery);
}

void cButton::setdimOnly(float x, float y) {
  quad_ops::PlaceTopLeft(v_, x, y, width_, height_);
}

}  // namespace brikka
