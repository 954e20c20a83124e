// Text on the headless display: fonts found by family and cached, strings drawn inside
// their rectangle, clipped, tinted, and rendered only once (centring is tested with the
// play screen's labels).
#include <gtest/gtest.h>

#include "platform/sdl/sdl_text.h"
#include "render_support.h"

namespace platform::testing {
namespace {

struct Box {
  int min_x = 1 << 30, min_y = 1 << 30, max_x = -1, max_y = -1, count = 0;
};

// Where the frame differs from black.
Box LitPixels(SDL_Surface* f) {
  Box b;
  for (int y = 0; y < f->h; ++y) {
    for (int x = 0; x < f->w; ++x) {
      if ((PixelAt(f, x, y) & 0xFFFFFF) == 0) continue;
      b.min_x = std::min(b.min_x, x);
      b.max_x = std::max(b.max_x, x);
      b.min_y = std::min(b.min_y, y);
      b.max_y = std::max(b.max_y, y);
      ++b.count;
    }
  }
  return b;
}

// The rectangle the game gives a 12-point "Hello" at (100, 50): 18 pixels a character
// wide, two point sizes high.
constexpr int kLeft = 100, kTop = 50, kRight = 100 + 18 * 5, kBottom = 74;

TEST(HeadlessText, DrawsInsideItsRectangleLeftAligned) {
  HeadlessScreen s;
  FontRef font = s.device->CreateFont("Comic Sans MS", 12, false);
  Box b = LitPixels(s.Frame(0xFF000000, [&](Device& d) {
    d.DrawText(*font, "Hello", kLeft, kTop, kRight, kBottom, 0xFFFFFFFF, false);
  }));
  ASSERT_GT(b.count, 50);
  EXPECT_GE(b.min_x, kLeft);
  EXPECT_LT(b.min_x, kLeft + 5);
  EXPECT_LT(b.max_x, kRight);
  EXPECT_GE(b.min_y, kTop);
  EXPECT_LT(b.max_y, kBottom);
}

TEST(HeadlessText, IsClippedToTheRectangle) {
  HeadlessScreen s;
  FontRef font = s.device->CreateFont("Comic Sans MS", 20, true);
  const int right = 130, bottom = 60;  // narrower and lower than the text needs
  for (bool centre : {false, true}) {
    Box b = LitPixels(s.Frame(0xFF000000, [&](Device& d) {
      d.DrawText(*font, "Clipped text", kLeft, kTop, right, bottom, 0xFFFFFFFF, centre);
    }));
    ASSERT_GT(b.count, 0);
    EXPECT_GE(b.min_x, kLeft);
    EXPECT_LT(b.max_x, right);
    EXPECT_LT(b.max_y, bottom);
  }
}

TEST(HeadlessText, TakesTheColourAndNothingIsDrawnForAnEmptyString) {
  HeadlessScreen s;
  FontRef font = s.device->CreateFont("Comic Sans MS", 16, false);
  SDL_Surface* f = s.Frame(0xFF000000, [&](Device& d) {
    d.DrawText(*font, "", kLeft, kTop, kLeft, kBottom, 0xFFFFFFFF, false);
    d.DrawText(*font, "", kLeft, kTop, kRight, kBottom, 0xFFFFFFFF, true);
  });
  EXPECT_EQ(LitPixels(f).count, 0);
  f = s.Frame(0xFF000000, [&](Device& d) {
    d.DrawText(*font, "WWW", kLeft, kTop, kRight, kBottom + 20, 0xFFFF0000, false);
  });
  int brightest_red = 0;
  for (int y = kTop; y < kBottom + 20; ++y) {
    for (int x = kLeft; x < kRight; ++x) {
      uint32_t p = PixelAt(f, x, y);
      EXPECT_EQ(p & 0xFFFF, 0u);  // no green, no blue
      brightest_red = std::max(brightest_red, Red(p));
    }
  }
  EXPECT_GT(brightest_red, 200);
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
