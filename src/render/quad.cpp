// `cTLSquare`: the textured screen quad every picture and block is drawn as, and the
// texture loader both quads and the play screen use.
#include "render/quad.h"

#include "platform/files.h"
#include "platform/numbers.h"
#include "render/quad_ops.h"

namespace brikka {

platform::TextureRef LoadGameTexture(platform::Device* device, const std::string& path,
                                     double texwidth, double texheight, uint32_t trans) {
  if (!device) return nullptr;
  // Game paths are "<app folder>\Texs\Name.tga": the folder is a real path, the rest a
  // game path whose case may not match the file on disk.
  std::string::size_type cut = path.find('\\');
  std::string resolved = cut == std::string::npos
                             ? path
                             : platform::ResolvePath(path.substr(0, cut), path.substr(cut));
  return device->LoadTexture(resolved, platform::CLng(texwidth), platform::CLng(texheight),
                             platform::D3DColorXRGB(trans, trans, trans));
}

namespace quad_ops {

void Build(std::array<TLVertex, 4>& v, double left, double top, double width, double height) {
  const float l = static_cast<float>(left), r = static_cast<float>(left + width);
  const float t = static_cast<float>(top), b = static_cast<float>(top + height);
  constexpr uint32_t kWhite = 0xFFFFFFFF;
  v[0] = TLVertex{l, t, 0, 1, kWhite, 0, 0, 0};
  v[1] = TLVertex{r, t, 0, 1, kWhite, 0, 1, 0};
  v[2] = TLVertex{l, b, 0, 1, kWhite, 0, 0, 1};
  v[3] = TLVertex{r, b, 0, 1, kWhite, 0, 1, 1};
}

// Moves along one axis leave the other exactly as it is, so only the moving axis is touched.
void Translate(std::array<TLVertex, 4>& v, double xDir, double yDir) {
  if (xDir != 0) {
    for (TLVertex& p : v) p.X = static_cast<float>(p.X + xDir);
  }
  if (yDir != 0) {
    for (TLVertex& p : v) p.Y = static_cast<float>(p.Y + yDir);
  }
}

void Translate(std::array<TLVertex, 4>& v, double xDir, double yDir, double& centerx,
               double& left, double& centery, double& top) {
  Translate(v, xDir, yDir);
  centerx += xDir;
  left += xDir;
  centery += yDir;
  top += yDir;
}

// A quarter turn about cPnt, worked in Singles. Texture coordinates turn the same way about
// the texture's middle, so the picture stays upright while the corners move.
void Rotate(std::array<TLVertex, 4>& v, int16_t Clockwise, const Vector2& cPnt, double& centerx,
            double& centery) {
  const float c = static_cast<float>(Clockwise);
  for (TLVertex& p : v) {
    const float dx = p.X - cPnt.x, dy = p.Y - cPnt.y;
    p.X = c * dy + cPnt.x;
    p.Y = -c * dx + cPnt.y;
    const float du = p.tu - 0.5f, dv = p.tv - 0.5f;
    p.tu = c * dv + 0.5f;
    p.tv = -c * du + 0.5f;
  }
  // The centre is halfway between vertex 0 and the first other vertex that differs from it.
  const float x0 = v[0].X, xo = v[1].X != x0 ? v[1].X : v[2].X;
  const float y0 = v[0].Y, yo = v[1].Y != y0 ? v[1].Y : v[2].Y;
  centerx = x0 + (xo - x0) / 2.0f;
  centery = y0 + (yo - y0) / 2.0f;
}

void PlaceTopLeft(std::array<TLVertex, 4>& v, float x, float y, double width, double height) {
  const double xs[4] = {x, x + width, x, x + width};
  const double ys[4] = {y, y, y + height, y + height};
  for (int i = 0; i < 4; ++i) {
    v[i].X = static_cast<float>(xs[i]);
    v[i].Y = static_cast<float>(ys[i]);
  }
}

void Draw(std::array<TLVertex, 4>& v, uint32_t color, platform::Device* device,
          const platform::Texture* tex) {
  // Colour 0 keeps whatever colour the vertices already have.
  if (color != 0) {
    for (TLVertex& p : v) p.color = color;
  }
  if (!device) return;
  platform::Vertex out[4];
  for (int i = 0; i < 4; ++i)
    out[i] = platform::Vertex{v[i].X, v[i].Y, v[i].color, v[i].tu, v[i].tv};
  device->DrawQuad(out, tex);
}

}  // namespace quad_ops

void cTLSquare::init(double swidth, double sheight, double sleft, double sqtop,
                     const std::string& Texturepath, double texwidth, double texheight,
                     platform::Device* d3ddevice, bool TexAlreadyLoaded,
                     const platform::TextureRef& /*LoadedTex*/) {
  MyCenterx = sleft + swidth / 2;
  MyCentery = sqtop + sheight / 2;
  Leftx = sleft;
  Topy = sqtop;
  width_ = swidth;
  height_ = sheight;
  if (!TexAlreadyLoaded) tex_ = LoadGameTexture(d3ddevice, Texturepath, texwidth, texheight);
  quad_ops::Build(v_, sleft, sqtop, swidth, sheight);
}

void cTLSquare::draw(uint32_t color, platform::Device* d3ddevice, bool TexAlreadyLoaded,
                     const platform::Texture* LoadedTex) {
  quad_ops::Draw(v_, color, d3ddevice, TexAlreadyLoaded ? LoadedTex : tex_.get());
}

void cTLSquare::cinit(double swidth, double sheight, double sleft, double sqtop,
                      const std::string& Texturepath, double texwidth, double texheight,
                      int32_t trans, platform::Device* d3ddevice, bool TexAlreadyLoaded) {
  if (!TexAlreadyLoaded) {
    tex_ =
        LoadGameTexture(d3ddevice, Texturepath, texwidth, texheight, static_cast<uint32_t>(trans));
  }
  quad_ops::Build(v_, sleft, sqtop, swidth, sheight);
}

void cTLSquare::AmountTranslation(double xDir, double yDir) {
  quad_ops::Translate(v_, xDir, yDir, MyCenterx, Leftx, MyCentery, Topy);
}

void cTLSquare::RotateME(int16_t Clockwise, const Vector2& cPnt) {
  quad_ops::Rotate(v_, Clockwise, cPnt, MyCenterx, MyCentery);
}

void cTLSquare::setdimOnly(float x, float y) {
  quad_ops::PlaceTopLeft(v_, x, y, width_, height_);
}

}  // namespace brikka
