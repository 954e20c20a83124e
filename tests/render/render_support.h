// Test helpers for the platform's drawing and sound: a scratch folder, tiny TGA and WAV
// writers (the generated game assets may not exist yet), and reading back pixels.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_video.h"
#include "temp_dir.h"

namespace platform::testing {

using ScratchDir = brikka::testing::TempDir;

inline void Put16(std::ofstream& out, uint32_t v) {
  out.put(static_cast<char>(v & 0xFF));
  out.put(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An uncompressed 24-bit TGA, rows from the top; `rgb` holds 0xRRGGBB per pixel.
inline void WriteTga(const std::string& path, int w, int h, const std::vector<uint32_t>& rgb) {
  std::ofstream out(path, std::ios::binary);
  const uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  Put16(out, w);
  Put16(out, h);
  out.put(24);
  out.put(0x20);  // top-left origin
  for (uint32_t p : rgb) {
    out.put(static_cast<char>(p & 0xFF));
    out.put(static_cast<char>((p >> 8) & 0xFF));
    out.put(static_cast<char>((p >> 16) & 0xFF));
  }
}

// One colour all over.
inline void WriteSolidTga(const std::string& path, int w, int h, uint32_t rgb) {
  WriteTga(path, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, rgb));
}

// A mono 16-bit PCM wave of `ms` milliseconds of silence at 22050 Hz.
inline void WriteWav(const std::string& path, int ms) {
  const uint32_t rate = 22050, frames = rate * ms / 1000, bytes = frames * 2;
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  Put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, rate);
  Put32(out, rate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, bytes);
  std::vector<char> silence(bytes, 0);
  out.write(silence.data(), silence.size());
}

// 0xAARRGGBB of one pixel of an ARGB surface.
inline uint32_t PixelAt(const SDL_Surface* s, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
  return reinterpret_cast<const uint32_t*>(row)[x];
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
  template <typename Draw>
  SDL_Surface* Frame(uint32_t background, Draw draw) {
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
