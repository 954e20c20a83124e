// The whole game on the headless display for tests of what its screens draw: the frame as
// pixels, the texts it wrote, and reference pictures drawn alone to compare against.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_video.h"
#include "render_support.h"
#include "unit/rules_support.h"

namespace brikka::testing {

using platform::testing::Blue;
using platform::testing::Green;
using platform::testing::PixelAt;
using platform::testing::Red;

struct Pixel {
  int x, y;
  uint32_t argb;
};

class ScreenGame : public RulesGame {
 public:
  using RulesGame::RulesGame;

  platform::HeadlessDevice& device() {
    return *static_cast<platform::HeadlessDevice*>(g().Device());
  }
  SDL_Surface* frame() { return device().LastFrame(); }
  const std::vector<platform::DrawnText>& texts() { return device().LastFrameTexts(); }

  // The texts of the last frame as plain strings, in drawing order.
  std::vector<std::string> Strings() {
    std::vector<std::string> out;
    for (const auto& t : texts()) out.push_back(t.text);
    return out;
  }
  // The first text of the last frame written at (left, top); null when there is none.
  const platform::DrawnText* TextAt(int left, int top) {
    for (const auto& t : texts())
      if (t.left == left && t.top == top) return &t;
    return nullptr;
  }

  // Pixels in [x0, x1) x [y0, y1) for which `pick` holds.
  int Count(int x0, int y0, int x1, int y1, const std::function<bool(uint32_t)>& pick) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += pick(PixelAt(frame(), x, y)) ? 1 : 0;
    return n;
  }

  // The pixels `draw` covers completely: drawn alone over black and over white, they come
  // out the same. Those are the pixels a screen must show exactly if nothing covers them.
  std::vector<Pixel> OpaquePixels(const std::function<void(platform::Device*)>& draw) {
    std::vector<uint32_t> over_black = DrawAlone(0xFF000000u, draw);
    std::vector<uint32_t> over_white = DrawAlone(0xFFFFFFFFu, draw);
    std::vector<Pixel> out;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const uint32_t p = over_black[static_cast<size_t>(y) * 800 + x];
        if (p == over_white[static_cast<size_t>(y) * 800 + x]) out.push_back({x, y, p});
      }
    return out;
  }

 private:
  std::vector<uint32_t> DrawAlone(uint32_t background,
                                  const std::function<void(platform::Device*)>& draw) {
    platform::Device* d = g().Device();
    d->Clear(background);
    draw(d);
    d->Present();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) pixels.push_back(PixelAt(frame(), x, y));
    return pixels;
  }
};

}  // namespace brikka::testing
