// Which quads count as upright pictures and may be drawn as rectangle copies.
#include "platform/quad_rect.h"

#include <gtest/gtest.h>

#include "render_support.h"

namespace platform::testing {
namespace {

// A quarter turn of corners and texture coordinates around the quad's centre.
void Turn(Vertex v[4], int c, bool positions, bool texture) {
  float cx = (v[0].x + v[3].x) / 2, cy = (v[0].y + v[3].y) / 2;
  for (int i = 0; i < 4; ++i) {
    float dx = v[i].x - cx, dy = v[i].y - cy, du = v[i].u - 0.5f, dv = v[i].v - 0.5f;
    if (positions) {
      v[i].x = c * dy + cx;
      v[i].y = -c * dx + cy;
    }
    if (texture) {
      v[i].u = c * dv + 0.5f;
      v[i].v = -c * du + 0.5f;
    }
  }
}

TEST(UprightRect, PlainAndTurnedBlocksAreUpright) {
  Vertex v[4];
  QuadCorners(v, 40, 60, 20, 20, 0xFF7B7B7B);
  UprightRect r;
  ASSERT_TRUE(AsUprightRect(v, 20, 20, r));
  EXPECT_EQ(r.x, 40);
  EXPECT_EQ(r.y, 60);
  EXPECT_EQ(r.w, 20);
  EXPECT_EQ(r.src_w, 20);
  for (int c : {1, -1}) {
    Vertex t[4] = {v[0], v[1], v[2], v[3]};
    Turn(t, c, true, true);  // a turned block: its picture stays upright on screen
    UprightRect turned;
    ASSERT_TRUE(AsUprightRect(t, 20, 20, turned));
    EXPECT_EQ(turned.x, 40);
    EXPECT_EQ(turned.src_x, 0);
    EXPECT_EQ(turned.src_w, 20);
  }
}

TEST(UprightRect, TurnedMirroredTintedOrSkewedPicturesAreNot) {
  Vertex v[4];
  UprightRect r;
  QuadCorners(v, 0, 0, 20, 20, 0xFFFFFFFF);
  Turn(v, 1, false, true);  // moved back in place after a turn: the picture stays turned
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));
  QuadCorners(v, 0, 0, 20, 20, 0xFFFFFFFF);
  std::swap(v[0].u, v[1].u);
  std::swap(v[2].u, v[3].u);
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));  // mirrored
  QuadCorners(v, 0, 0, 20, 20, 0xFFFFFFFF);
  v[3].color = 0xFF000000;
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));  // shaded corners
  QuadCorners(v, 0, 0, 20, 20, 0xFFFFFFFF);
  v[1].x += 3;
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));  // not a rectangle
  QuadCorners(v, 0, 0, 0, 20, 0xFFFFFFFF);
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));  // empty
}

TEST(UprightRect, PartOfATextureOnlyOverWholeTexels) {
  Vertex v[4];
  QuadCorners(v, 0, 0, 10, 10, 0xFFFFFFFF);
  v[1].u = v[3].u = 0.5f;
  UprightRect r;
  ASSERT_TRUE(AsUprightRect(v, 20, 20, r));
  EXPECT_EQ(r.src_w, 10);
  EXPECT_EQ(r.src_h, 20);
  v[1].u = v[3].u = 0.33f;
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));
  v[1].u = v[3].u = 2.0f;  // a repeated texture
  EXPECT_FALSE(AsUprightRect(v, 20, 20, r));
}

}  // namespace
}  // namespace platform::testing
