// The headless display: quads drawn by the software renderer (tint, colour key, alpha,
// turned texture coordinates), the shared texture cache, load failures, device loss and the
// screenshot.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "render_support.h"

namespace platform::testing {
namespace {

constexpr uint32_t kKey = 0xFF070707;
constexpr uint32_t kBlue = 0xFF0000FF;

// A 4 x 4 picture, its left half `left` and its right half `right` (0xRRGGBB).
std::vector<uint32_t> Halves(uint32_t left, uint32_t right) {
  std::vector<uint32_t> texels(16);
  for (int i = 0; i < 16; ++i) texels[i] = (i % 4) < 2 ? left : right;
  return texels;
}

TEST(HeadlessQuad, TintedByVertexColourKeyedTexelsTransparentAlphaBlended) {
  HeadlessScreen s;
  WriteTga(s.dir.file("half.tga"), 4, 4, Halves(0xFFFFFF, 0x070707));
  TextureRef tex = s.device->LoadTexture(s.dir.file("half.tga"), 40, 40, kKey);
  SDL_Surface* f = s.Frame(kBlue, [&](Device& d) {
    Vertex v[4];
    QuadCorners(v, 100, 100, 40, 40, 0xFF808080);
    d.DrawQuad(v, tex.get());
    QuadCorners(v, 200, 100, 20, 20, 0x80FFFFFF);  // half transparent
    d.DrawQuad(v, tex.get());
    QuadCorners(v, 300, 100, 20, 20, 0xFF00FF00);
    d.DrawQuad(v, nullptr);
  });
  for (int c : {Red(PixelAt(f, 105, 120)), Green(PixelAt(f, 105, 120)), Blue(PixelAt(f, 105, 120))})
    EXPECT_NEAR(c, 128, 2);
  EXPECT_EQ(PixelAt(f, 135, 120), kBlue);  // keyed: the background shows through
  EXPECT_EQ(PixelAt(f, 99, 120), kBlue);   // outside the quad
  EXPECT_EQ(PixelAt(f, 105, 141), kBlue);
  // Where the picture fades out at the key's edge it fades to the background, never to black.
  for (int x = 115; x < 125; ++x)
    EXPECT_GE(Red(PixelAt(f, x, 120)) + Blue(PixelAt(f, x, 120)), 128);
  EXPECT_NEAR(Red(PixelAt(f, 202, 110)), 128, 2);
  EXPECT_EQ(PixelAt(f, 310, 110), 0xFF00FF00u);  // untextured: its colour
}

TEST(HeadlessQuad, TurnedTextureCoordinatesTurnThePicture) {
  HeadlessScreen s;
  WriteTga(s.dir.file("halves.tga"), 4, 4, Halves(0xFF0000, 0x00FF00));
  TextureRef tex = s.device->LoadTexture(s.dir.file("halves.tga"), 20, 20, kKey);
  SDL_Surface* f = s.Frame(0xFF000000, [&](Device& d) {
    Vertex v[4];
    QuadCorners(v, 0, 0, 20, 20, 0xFFFFFFFF);
    // A quarter turn of the texture coordinates around their centre, as a turned block has.
    for (Vertex& corner : v) {
      const float du = corner.u - 0.5f, dv = corner.v - 0.5f;
      corner.u = dv + 0.5f;
      corner.v = -du + 0.5f;
    }
    d.DrawQuad(v, tex.get());
  });
  EXPECT_EQ(PixelAt(f, 10, 2), 0xFFFF0000u);  // the picture's left half is now on top
  EXPECT_EQ(PixelAt(f, 10, 17), 0xFF00FF00u);
}

TEST(HeadlessTextures, OneLoadPerFileAndSizeWhateverTheSpellingAndNoneForBadFiles) {
  HeadlessScreen s;
  std::filesystem::create_directories(s.dir.file("Texs"));
  WriteTga(s.dir.file("Texs/block.tga"), 4, 4, {0xFF0000});
  TextureRef a = s.device->LoadTexture(s.dir.file("Texs/block.tga"), 20, 20, kKey);
  TextureRef b = s.device->LoadTexture(s.dir.str() + "\\TEXS\\Block.tga", 20, 20, kKey);
  TextureRef c = s.device->LoadTexture(s.dir.file("Texs/block.tga"), 30, 20, kKey);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_NE(a.get(), c.get());
  EXPECT_EQ(std::pair(c->Width(), c->Height()), std::pair(30, 20));
  std::ofstream(s.dir.file("junk.tga")) << "not a picture";
  for (auto [file, w] : {std::pair{"missing.tga", 20}, {"junk.tga", 20}, {"Texs/block.tga", 0}})
    EXPECT_THROW(s.device->LoadTexture(s.dir.file(file), w, 20, kKey), DisplayError) << file;
  EXPECT_EQ(s.device->LoadedTextureCount(), 2u);
}

// Lost once, then not reset until reset; the textures draw again after it, and one whose
// file went away meanwhile is reported and draws nothing.
TEST(HeadlessDeviceLoss, LostOnceThenNotResetUntilResetThenTexturesStillDraw) {
  HeadlessScreen s;
  WriteTga(s.dir.file("red.tga"), 4, 4, {0xFF0000});
  WriteTga(s.dir.file("gone.tga"), 4, 4, {0xFF0000});
  TextureRef red = s.device->LoadTexture(s.dir.file("red.tga"), 10, 10, kKey);
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3D_OK);
  s.plat.LoseDevice();
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3DERR_DEVICELOST);
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3DERR_DEVICENOTRESET);
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3DERR_DEVICENOTRESET);
  EXPECT_TRUE(s.device->Reset());
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3D_OK);
  EXPECT_EQ(PixelAt(s.Square(0xFF000000, red.get(), 10), 5, 5), 0xFFFF0000u);

  TextureRef gone = s.device->LoadTexture(s.dir.file("gone.tga"), 10, 10, kKey);
  std::filesystem::remove(s.dir.file("gone.tga"));
  s.plat.LoseDevice();
  s.device->TestCooperativeLevel();
  EXPECT_FALSE(s.device->Reset());
  EXPECT_EQ(s.device->TestCooperativeLevel(), kD3D_OK);
  EXPECT_EQ(PixelAt(s.Square(0xFF000000, gone.get(), 10), 5, 5), 0xFF000000u);
}

TEST(HeadlessFrame, ScreenshotIsTheLastPresentedFrame) {
  HeadlessScreen s;
  s.Square(0xFF102030, nullptr, 4);
  s.device->Clear(0xFF000000);  // the next frame has begun but is not presented
  ASSERT_TRUE(s.device->SaveScreenshot(s.dir.file("shot.png")));
  SurfacePtr png(IMG_Load(s.dir.file("shot.png").c_str()));
  ASSERT_TRUE(png);
  SurfacePtr argb(SDL_ConvertSurfaceFormat(png.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  EXPECT_EQ(std::pair(argb->w, argb->h), std::pair(800, 600));
  EXPECT_EQ(PixelAt(argb.get(), 1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(argb.get(), 100, 100), 0xFF102030u);
  EXPECT_FALSE(s.device->SaveScreenshot(s.dir.file("no/such/folder/shot.png")));
}

}  // namespace
}  // namespace platform::testing
