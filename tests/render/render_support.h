// Test helpers for the platform's drawing and sound and the game's screens: tiny TGA and WAV
// writers (the generated assets may not exist yet), pixels read back, the headless device
// alone, and the whole game on it with the texts it wrote and reference pictures.
#pragma once

#include <SDL.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_video.h"
#include "temp_dir.h"
#include "unit/rules_support.h"

namespace platform::testing {

using ScratchDir = brikka::testing::TempDir;

inline void PutLE(std::ofstream& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// An uncompressed 24-bit TGA, rows from the top; `rgb` holds 0xRRGGBB per pixel (one colour
// all over when it holds one).
inline void WriteTga(const std::string& path, int w, int h, std::vector<uint32_t> rgb) {
  if (rgb.size() == 1) rgb.assign(static_cast<size_t>(w) * h, rgb[0]);
  std::ofstream out(path, std::ios::binary);
  out.write("\0\0\2\0\0\0\0\0\0\0\0\0", 12);
  PutLE(out, w, 2);
  PutLE(out, h, 2);
  out.put(24);
  out.put(0x20);  // top-left origin
  for (uint32_t p : rgb) PutLE(out, p, 3);
}

// A mono 16-bit PCM wave of `ms` milliseconds of silence at 22050 Hz.
inline void WriteWav(const std::string& path, int ms) {
  const uint32_t rate = 22050, bytes = rate * ms / 1000 * 2;
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  PutLE(out, 36 + bytes, 4);
  out.write("WAVEfmt ", 8);
  for (auto [v, n] :
       {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {rate, 4}, {rate * 2, 4}, {2u, 2}, {16u, 2}})
    PutLE(out, v, n);  // PCM, mono, the rate, bytes a second, a frame's bytes, its bits
  out.write("data", 4);
  PutLE(out, bytes, 4);
  out.write(std::vector<char>(bytes, 0).data(), bytes);
}

// 0xAARRGGBB of one pixel of an ARGB surface.
inline uint32_t PixelAt(const SDL_Surface* s, int x, int y) {
  return static_cast<const uint32_t*>(s->pixels)[static_cast<size_t>(y) * s->pitch / 4 + x];
}
inline int Red(uint32_t p) {
  return (p >> 16) & 0xFF;
}
inline int Green(uint32_t p) {
  return (p >> 8) & 0xFF;
}
inline int Blue(uint32_t p) {
  return p & 0xFF;
}

// A quad with the four corners of the rectangle, in strip order, all of one colour.
inline void QuadCorners(Vertex v[4], float left, float top, float w, float h, uint32_t color) {
  v[0] = {left, top, color, 0, 0};
  v[1] = {left + w, top, color, 1, 0};
  v[2] = {left, top + h, color, 0, 1};
  v[3] = {left + w, top + h, color, 1, 1};
}

// The headless platform with its 800 x 600 device.
struct HeadlessScreen {
  HeadlessScreen() : plat(HeadlessOptions{dir.str(), dir.str()}) {
    std::string error;
    if (!plat.video->Init(error)) throw std::runtime_error(error);
    auto made = plat.video->CreateDevice(800, 600, d3dfmt::X8R8G8B8, error);
    if (!made) throw std::runtime_error(error);
    device.reset(static_cast<HeadlessDevice*>(made.release()));
  }
  // Clears to `background`, lets `draw` run, presents; returns the frame.
  SDL_Surface* Frame(uint32_t background, const std::function<void(Device&)>& draw) {
    device->Clear(background);
    device->BeginScene();
    draw(*device);
    device->EndScene();
    device->Present();
    return device->LastFrame();
  }
  // A frame of one untinted square of `tex` (or white) at the top-left corner.
  SDL_Surface* Square(uint32_t background, const Texture* tex, float size) {
    return Frame(background, [&](Device& d) {
      Vertex v[4];
      QuadCorners(v, 0, 0, size, size, 0xFFFFFFFF);
      d.DrawQuad(v, tex);
    });
  }
  ScratchDir dir;
  HeadlessPlatform plat;
  std::unique_ptr<HeadlessDevice> device;
};

}  // namespace platform::testing

namespace brikka::testing {

using platform::testing::Blue;
using platform::testing::Green;
using platform::testing::PixelAt;
using platform::testing::Red;

struct Pixel {
  int x, y;
  uint32_t argb;
};

// The whole game on the headless display: the frame as pixels and the texts it wrote.
class ScreenGame : public RulesGame {
 public:
  using RulesGame::RulesGame;

  platform::HeadlessDevice& device() {
    return *static_cast<platform::HeadlessDevice*>(g().Device());
  }
  SDL_Surface* frame() { return device().LastFrame(); }
  const std::vector<platform::DrawnText>& texts() { return device().LastFrameTexts(); }

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
    for (size_t i = 0; i < over_black.size(); ++i)
      if (over_black[i] == over_white[i])
        out.push_back({int(i % 800), int(i / 800), over_black[i]});
    return out;
  }
  // How many of `pixels` the frame `shown` does not show as they are.
  static int Wrong(const SDL_Surface* shown, const std::vector<Pixel>& pixels) {
    int n = 0;
    for (const Pixel& p : pixels) n += PixelAt(shown, p.x, p.y) != p.argb ? 1 : 0;
    return n;
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
