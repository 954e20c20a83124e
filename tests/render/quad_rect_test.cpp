// Which quads count as upright pictures and may be drawn as rectangle copies.
#include "platform/quad_rect.h"

#include <gtest/gtest.h>

#include <functional>

#include "render_support.h"

namespace platform::testing {
namespace {

// A quarter turn of corners and texture coordinates around the quad's centre.
void Turn(Vertex v[4], bool positions, bool texture) {
  const float cx = (v[0].x + v[3].x) / 2, cy = (v[0].y + v[3].y) / 2;
  for (int i = 0; i < 4; ++i) {
    const float dx = v[i].x - cx, dy = v[i].y - cy, du = v[i].u - 0.5f, dv = v[i].v - 0.5f;
    if (positions) v[i].x = dy + cx, v[i].y = -dx + cy;
    if (texture) v[i].u = dv + 0.5f, v[i].v = -du + 0.5f;
  }
}

// A 20 x 20 quad at (40, 60) of a 20 x 20 texture, changed by each case: upright or not, and
// the part of the texture copied when it is.
TEST(UprightRect, OnlyUprightUntintedPicturesOverWholeTexels) {
  const struct {
    const char* name;
    std::function<void(Vertex*)> change;
    bool upright;
    int src_x = 0, src_w = 0;
  } cases[] = {
      {"plain", [](Vertex*) {}, true, 0, 20},
      {"a turned block: its picture stays upright", [](Vertex* v) { Turn(v, true, true); }, true, 0,
       20},
      {"turned three times",
       [](Vertex* v) {
         for (int i = 0; i < 3; ++i) Turn(v, true, true);
       },
       true, 0, 20},
      {"half the texture", [](Vertex* v) { v[1].u = v[3].u = 0.5f; }, true, 0, 10},
      {"the picture turned", [](Vertex* v) { Turn(v, false, true); }, false},
      {"mirrored", [](Vertex* v) { std::swap(v[0].u, v[1].u), std::swap(v[2].u, v[3].u); }, false},
      {"shaded corners", [](Vertex* v) { v[3].color = 0xFF000000; }, false},
      {"not a rectangle", [](Vertex* v) { v[1].x += 3; }, false},
      {"empty", [](Vertex* v) { v[1].x = v[3].x = v[0].x; }, false},
      {"part of a texel", [](Vertex* v) { v[1].u = v[3].u = 0.33f; }, false},
      {"a repeated texture", [](Vertex* v) { v[1].u = v[3].u = 2.0f; }, false},
  };
  for (const auto& c : cases) {
    Vertex v[4];
    QuadCorners(v, 40, 60, 20, 20, 0xFF7B7B7B);
    c.change(v);
    UprightRect r;
    ASSERT_EQ(AsUprightRect(v, 20, 20, r), c.upright) << c.name;
    if (c.upright) {
      EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h, r.src_x, r.src_y, r.src_w, r.src_h),
                std::tuple(40, 60, 20, 20, c.src_x, 0, c.src_w, 20))
          << c.name;
    }
  }
}

}  // namespace
}  // namespace platform::testing
