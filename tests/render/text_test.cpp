// Text on the headless display: fonts found by family and cached, strings drawn inside
// their rectangle, clipped, tinted, and rendered only once (centring is tested with the
// play screen's labels).
#include <gtest/gtest.h>

#include "platform/sdl/sdl_text.h"
#include "render_support.h"

namespace platform::testing {
namespace {

// Where the frame differs from black, and the brightest red and strongest green or blue.
struct Box {
  int min_x = 1 << 30, min_y = 1 << 30, max_x = -1, max_y = -1, count = 0, red = 0, other = 0;
};
Box LitPixels(SDL_Surface* f) {
  Box b;
  for (int y = 0; y < f->h; ++y) {
    for (int x = 0; x < f->w; ++x) {
      const uint32_t p = PixelAt(f, x, y);
      if ((p & 0xFFFFFF) == 0) continue;
      b.min_x = std::min(b.min_x, x), b.max_x = std::max(b.max_x, x);
      b.min_y = std::min(b.min_y, y), b.max_y = std::max(b.max_y, y);
      b.red = std::max(b.red, Red(p)), b.other = std::max({b.other, Green(p), Blue(p)});
      ++b.count;
    }
  }
  return b;
}

// Drawn at (100, 50) into rectangles the size the game gives them (a 12-point "Hello": 18
// pixels a character wide, two point sizes high) or too small (clipped), left-aligned or
// centred, in red: only inside the rectangle, starting at its left edge unless centred,
// and in the text's colour alone. An empty string draws nothing.
TEST(HeadlessText, DrawsInsideItsRectangleClippedAndInItsColour) {
  HeadlessScreen s;
  const struct {
    const char* text;
    int points, right, bottom;
    bool bold, centre;
  } cases[] = {{"Hello", 12, 190, 74, false, false},
               {"Clipped text", 20, 130, 60, true, false},
               {"Clipped text", 20, 130, 60, true, true},
               {"WWW", 16, 190, 94, false, false}};
  for (const auto& c : cases) {
    FontRef font = s.device->CreateFont("Comic Sans MS", c.points, c.bold);
    Box b = LitPixels(s.Frame(0xFF000000, [&](Device& d) {
      d.DrawText(*font, c.text, 100, 50, c.right, c.bottom, 0xFFFF0000, c.centre);
    }));
    ASSERT_GT(b.count, 10) << c.text;
    EXPECT_GE(b.min_x, 100);
    if (!c.centre) {
      EXPECT_LT(b.min_x, 105) << c.text;
    }
    EXPECT_LT(b.max_x, c.right);
    EXPECT_GE(b.min_y, 50);
    EXPECT_LT(b.max_y, c.bottom);
    EXPECT_GT(b.red, 200);
    EXPECT_EQ(b.other, 0);
    EXPECT_EQ(LitPixels(s.Frame(0xFF000000,
                                [&](Device& d) {
                                  d.DrawText(*font, "", 100, 50, c.right, c.bottom, ~0u, c.centre);
                                }))
                  .count,
              0);
  }
}

TEST(HeadlessText, FontsAndRenderedStringsAreCached) {
  HeadlessScreen s;
  FontRef a = s.device->CreateFont("Comic Sans MS", 12, false);
  EXPECT_EQ(a.get(), s.device->CreateFont("Comic Sans MS", 12, false).get());
  EXPECT_NE(a.get(), s.device->CreateFont("Comic Sans MS", 12, true).get());
  EXPECT_NE(a.get(), s.device->CreateFont("Comic Sans MS", 14, false).get());
  for (int frame = 0; frame < 5; ++frame) {
    s.Frame(0xFF000000, [&](Device& d) {
      d.DrawText(*a, "Score", 0, 0, 200, 40, 0xFFFFFFFF, false);
      d.DrawText(*a, "Score", 0, 50, 200, 90, 0xFF00FF00, true);
    });
  }
  EXPECT_EQ(s.device->RenderedTextCount(), 1u);
  s.Frame(0xFF000000, [&](Device& d) {
    for (int i = 0; i < 400; ++i) d.DrawText(*a, std::to_string(i), 0, 0, 200, 40, ~0u, false);
  });
  EXPECT_EQ(s.device->RenderedTextCount(), TextRenderer::kMaxRendered);
  EXPECT_THROW(s.device->CreateFont("Comic Sans MS", 0, false), DisplayError);
}

TEST(AnsiText, BecomesUtf8) {
  EXPECT_EQ(AnsiToUtf8("Nick 42"), "Nick 42");
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // the euro sign
  EXPECT_EQ(AnsiToUtf8("\x81\xFF"), "\xC2\x81\xC3\xBF");
}

}  // namespace
}  // namespace platform::testing
