// Colour key and linear scaling of pictures before they become textures.
#include "platform/texture_pixels.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ColourKey, OnlyTheExactColourBecomesTransparent) {
  ArgbImage img{4, 1, {0xFF070707, 0xFF070708, 0xFF060707, 0x80070707}};
  ApplyColourKey(img, 0xFF070707);
  EXPECT_EQ(img.pixels[0], 0u);
  EXPECT_EQ(img.pixels[1], 0xFF070708u);
  EXPECT_EQ(img.pixels[2], 0xFF060707u);
  EXPECT_EQ(img.pixels[3], 0u);  // the key is a colour: the texel's own alpha does not matter
}

TEST(ScaleLinear, SameSizeIsUnchanged) {
  ArgbImage img{2, 2, {0xFF112233, 0x80445566, 0, 0xFFFFFFFF}};
  EXPECT_EQ(ScaleLinear(img, 2, 2).pixels, img.pixels);
}

TEST(ScaleLinear, KeyedNeighboursGiveNoDarkFringe) {
  ArgbImage img{2, 1, {0xFFFFFFFF, 0xFF070707}};
  ApplyColourKey(img, 0xFF070707);
  ArgbImage out = ScaleLinear(img, 8, 1);
  ASSERT_EQ(out.pixels.size(), 8u);
  EXPECT_EQ(out.pixels.front(), 0xFFFFFFFFu);
  EXPECT_EQ(out.pixels.back(), 0u);
  uint32_t last_alpha = 255;
  for (uint32_t p : out.pixels) {
    uint32_t alpha = p >> 24;
    EXPECT_LE(alpha, last_alpha);
    if (alpha > 0) {
      EXPECT_EQ(p & 0xFFFFFF, 0xFFFFFFu) << std::hex << p;  // still white
    }
    last_alpha = alpha;
  }
}

TEST(ScaleLinear, ShrinkingAveragesInsteadOfSampling) {
  // A 4 x 4 checkerboard of black and white becomes mid grey, not black or white.
  ArgbImage img{4, 4, {}};
  for (int i = 0; i < 16; ++i) img.pixels.push_back(((i + i / 4) % 2) ? 0xFFFFFFFF : 0xFF000000);
  ArgbImage out = ScaleLinear(img, 1, 1);
  ASSERT_EQ(out.pixels.size(), 1u);
  EXPECT_NEAR(static_cast<int>((out.pixels[0] >> 16) & 0xFF), 128, 20);
  EXPECT_EQ(out.pixels[0] >> 24, 255u);
}

TEST(ScaleLinear, GrowingInterpolatesBetweenTexelCentres) {
  ArgbImage img{2, 1, {0xFF000000, 0xFFFFFFFF}};
  ArgbImage out = ScaleLinear(img, 4, 1);
  // Centres of the outer output texels sit beyond the source centres: clamped.
  EXPECT_EQ(out.pixels[0], 0xFF000000u);
  EXPECT_EQ(out.pixels[3], 0xFFFFFFFFu);
  EXPECT_NEAR(static_cast<int>(out.pixels[1] & 0xFF), 64, 1);
  EXPECT_NEAR(static_cast<int>(out.pixels[2] & 0xFF), 191, 1);
  EXPECT_TRUE(ScaleLinear(img, 0, 3).pixels.empty());
}

}  // namespace
}  // namespace platform
