// Colour key and linear scaling of pictures before they become textures.
#include "platform/texture_pixels.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Only the exact colour becomes transparent, whatever the texel's own alpha; scaled up,
// the keyed texel fades out in the colour of its neighbour, never through a dark fringe.
TEST(ColourKey, OnlyTheExactColourBecomesTransparentAndLeavesNoDarkFringe) {
  ArgbImage img{4, 1, {0xFF070707, 0xFF070708, 0xFF060707, 0x80070707}};
  ApplyColourKey(img, 0xFF070707);
  EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0, 0xFF070708u, 0xFF060707u, 0}));
  ArgbImage pair{2, 1, {0xFFFFFFFF, 0xFF070707}};
  ApplyColourKey(pair, 0xFF070707);
  ArgbImage out = ScaleLinear(pair, 8, 1);
  ASSERT_EQ(out.pixels.size(), 8u);
  EXPECT_EQ(out.pixels.front(), 0xFFFFFFFFu);
  EXPECT_EQ(out.pixels.back(), 0u);
  uint32_t last_alpha = 255;
  for (uint32_t p : out.pixels) {
    EXPECT_LE(p >> 24, last_alpha);
    EXPECT_TRUE(p >> 24 == 0 || (p & 0xFFFFFF) == 0xFFFFFF) << std::hex << p;  // still white
    last_alpha = p >> 24;
  }
}

// The same size is unchanged; shrinking averages (a checkerboard becomes mid grey) and
// growing interpolates between texel centres, clamped beyond the outer ones.
TEST(ScaleLinear, AveragesShrinkingAndInterpolatesGrowing) {
  ArgbImage same{2, 2, {0xFF112233, 0x80445566, 0, 0xFFFFFFFF}};
  EXPECT_EQ(ScaleLinear(same, 2, 2).pixels, same.pixels);
  ArgbImage board{4, 4, {}};
  for (int i = 0; i < 16; ++i) board.pixels.push_back(((i + i / 4) % 2) ? 0xFFFFFFFF : 0xFF000000);
  ArgbImage shrunk = ScaleLinear(board, 1, 1);
  ASSERT_EQ(shrunk.pixels.size(), 1u);
  EXPECT_NEAR(static_cast<int>((shrunk.pixels[0] >> 16) & 0xFF), 128, 20);
  EXPECT_EQ(shrunk.pixels[0] >> 24, 255u);
  ArgbImage grown = ScaleLinear(ArgbImage{2, 1, {0xFF000000, 0xFFFFFFFF}}, 4, 1);
  EXPECT_EQ(grown.pixels[0], 0xFF000000u);
  EXPECT_EQ(grown.pixels[3], 0xFFFFFFFFu);
  EXPECT_NEAR(static_cast<int>(grown.pixels[1] & 0xFF), 64, 1);
  EXPECT_NEAR(static_cast<int>(grown.pixels[2] & 0xFF), 191, 1);
  EXPECT_TRUE(ScaleLinear(same, 0, 3).pixels.empty());
}

}  // namespace
}  // namespace platform
