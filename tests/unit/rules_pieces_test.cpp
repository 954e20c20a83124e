// Quads and pieces without a device: quarter turns and their exact undoing, the draw colour
// rule and the greyed mark, and the turning of the pieces.
#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "game/shape.h"
#include "platform/numbers.h"

namespace brikka {
namespace {

TEST(Quad, TurnsMoveTheCentreAndOppositeTurnsRestoreEverything) {
  cTLSquare q;
  q.init(20, 20, 520, 70, "", 20, 20, nullptr, true);  // centre (530, 80)
  const auto before = q.Vertices();
  q.RotateME(1, Vector2{540, 80});  // the point left of the centre goes below it
  EXPECT_EQ(q.MyCenterx, 540);
  EXPECT_EQ(q.MyCentery, 90);
  EXPECT_EQ(q.Vertices()[0].tv, 1.0f);  // the texture turns with the corners
  q.RotateME(-1, Vector2{540, 80});
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(q.Vertices()[i].X, before[i].X);
    EXPECT_EQ(q.Vertices()[i].Y, before[i].Y);
    EXPECT_EQ(q.Vertices()[i].tu, before[i].tu);
  }
}

TEST(Quad, ColourZeroKeepsTheLastColourAndClearsTheGreyedMark) {
  const uint32_t grey = platform::D3DColorXRGB(123, 123, 123);
  cButton b;
  b.init(150, 45, 400, 460, "", "", 200, 60, nullptr, true);
  b.draw(false, grey, nullptr);
  EXPECT_TRUE(b.Grayed);
  b.draw(true, 0, nullptr);
  EXPECT_FALSE(b.Grayed);
  for (const auto& v : b.Vertices()) EXPECT_EQ(v.color, grey);
}

using Centres = std::array<std::pair<double, double>, 4>;
Centres CentresOf(const cShape& s) {
  Centres c;
  for (int i = 0; i < 4; ++i) c[i] = {s.BlockX(i), s.BlockY(i)};
  return c;
}

cShape Piece(int16_t type, bool rotated = false) {
  cShape s;
  s.Rotated = rotated;
  s.Initialise(type, 0xFF00FF00u, Vector2{550, 100}, Vector2{20, 20});
  return s;
}

TEST(Turning, BarTwiceAndTShapeFourTimesReturnExactly) {
  for (int16_t c : {1, -1}) {
    cShape bar = Piece(1), t = Piece(7);
    bar.RotateME(c);
    EXPECT_NE(CentresOf(bar), CentresOf(Piece(1)));
    bar.RotateME(c);
    EXPECT_EQ(CentresOf(bar), CentresOf(Piece(1)));
    for (int k = 0; k < 4; ++k) t.RotateME(c);
    EXPECT_EQ(CentresOf(t), CentresOf(Piece(7)));
  }
}

}  // namespace
}  // namespace brikka
