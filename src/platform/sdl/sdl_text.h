// Fonts and text on a renderer: fonts found by family through fontconfig, strings
// rendered once and kept as textures. Internal to platform/.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/display.h"
#include "platform/sdl/font_lookup.h"
#include "platform/sdl/sdl_handles.h"

namespace platform {

// The game's text is 8-bit ANSI (Windows-1252); the font library wants UTF-8.
std::string AnsiToUtf8(const std::string& ansi);

class SdlFont : public Font {
 public:
  SdlFont(std::shared_ptr<TtfLibrary> library, TtfFontPtr font, uint64_t serial,
          FontRequest request)
      : library_(std::move(library)),
        font_(std::move(font)),
        serial_(serial),
        request_(std::move(request)) {}
  TTF_Font* get() const { return font_.get(); }
  uint64_t serial() const { return serial_; }
  FontRequest Request() const override { return request_; }

 private:
  std::shared_ptr<TtfLibrary> library_;  // first in, last out: the font closes before it
  TtfFontPtr font_;
  uint64_t serial_;
  FontRequest request_;
};

class TextRenderer {
 public:
  explicit TextRenderer(SDL_Renderer* renderer) : renderer_(renderer) {}
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Throws DisplayError when no font file can be found or opened.
  FontRef CreateFont(const std::string& family, int points, bool bold);
  // One line, top-aligned, left-aligned or centred between left and right, clipped to the
  // rectangle.
  void Draw(const Font& font, const std::string& text, int left, int top, int right, int bottom,
            uint32_t color, bool center);
  // Forgets every rendered string (their textures die with a reset renderer).
  void DropRendered();
  size_t RenderedCount() const { return lru_.size(); }
  const TextStats& Stats() const { return stats_; }

  // Enough for every label and highscore line of a few screens at once.
  static constexpr size_t kMaxRendered = 300;

 private:
  struct Rendered {
    TexturePtr texture;
    int w = 0, h = 0;
  };
  using Key = std::pair<uint64_t, std::string>;
  const Rendered* Render(const SdlFont& font, const std::string& text);

  SDL_Renderer* renderer_;
  std::shared_ptr<TtfLibrary> ttf_;
  FontLookup lookup_;
  std::map<std::tuple<std::string, int, bool>, std::shared_ptr<SdlFont>> fonts_;
  uint64_t next_serial_ = 1;
  TextStats stats_;
  // Most recently used first.
  std::list<std::pair<Key, Rendered>> lru_;
  std::map<Key, std::list<std::pair<Key, Rendered>>::iterator> index_;
};

}  // namespace platform
