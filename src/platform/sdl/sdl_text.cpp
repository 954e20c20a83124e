// Text drawing: fontconfig finds the file, SDL_ttf renders each string once (kept in a
// small most-recently-used cache), and the copy is clipped to the text rectangle.
#include "platform/sdl/sdl_text.h"

#include <algorithm>

namespace platform {
namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five unassigned bytes map to the
// control characters of the same number, as Windows itself converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) {
    unsigned char b = static_cast<unsigned char>(c);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
  }
  return out;
}

FontRef TextRenderer::CreateFont(const std::string& family, int points, bool bold) {
  auto id = std::make_tuple(family, points, bold);
  auto found = fonts_.find(id);
  if (found != fonts_.end()) return found->second;
  std::string error;
  if (!ttf_) ttf_ = TtfLibrary::Start(error);
  if (!ttf_) throw DisplayError("Cannot start the font library: " + error);
  FontFile file;
  if (points <= 0 || !lookup_.Find(family, bold, file)) {
    throw DisplayError("No font for " + family + " at " + std::to_string(points) + " points");
  }
  // Points at 96 dots per inch, the screen resolution the game's fonts were sized for.
  TtfFontPtr ttf(TTF_OpenFontDPI(file.path.c_str(), points, 96, 96));
  if (!ttf) throw DisplayError("Cannot open font " + file.path + ": " + TTF_GetError());
  ++stats_.fonts_opened;
  if (bold && !file.bold) TTF_SetFontStyle(ttf.get(), TTF_STYLE_BOLD);
  auto font = std::make_shared<SdlFont>(ttf_, std::move(ttf), next_serial_++,
                                        FontRequest{family, points, bold});
  fonts_.emplace(id, font);
  return font;
}

const TextRenderer::Rendered* TextRenderer::Render(const SdlFont& font, const std::string& text) {
  Key key{font.serial(), text};
  auto found = index_.find(key);
  if (found != index_.end()) {
    lru_.splice(lru_.begin(), lru_, found->second);
    return &lru_.front().second;
  }
  std::string utf8 = AnsiToUtf8(text);
  int w = 0, h = 0;
  if (TTF_SizeUTF8(font.get(), utf8.c_str(), &w, &h) != 0 || w <= 0 || h <= 0) return nullptr;
  // White, so one texture serves every colour through the texture's colour modulation.
  SurfacePtr surface(
      TTF_RenderUTF8_Blended(font.get(), utf8.c_str(), SDL_Color{255, 255, 255, 255}));
  if (!surface) throw DisplayError(std::string("Cannot render text: ") + TTF_GetError());
  ++stats_.strings_rasterised;
  Rendered r;
  r.texture.reset(SDL_CreateTextureFromSurface(renderer_, surface.get()));
  if (!r.texture) throw DisplayError(std::string("Cannot make text texture: ") + SDL_GetError());
  SDL_SetTextureBlendMode(r.texture.get(), SDL_BLENDMODE_BLEND);
  r.w = surface->w;
  r.h = surface->h;
  lru_.emplace_front(key, std::move(r));
  index_[key] = lru_.begin();
  if (lru_.size() > kMaxRendered) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
  return &lru_.front().second;
}

void TextRenderer::Draw(const Font& font, const std::string& text, int left, int top, int right,
                        int bottom, uint32_t color, bool center) {
  const auto* sdl_font = dynamic_cast<const SdlFont*>(&font);
  if (!sdl_font || text.empty() || right <= left || bottom <= top) return;
  const Rendered* r = Render(*sdl_font, text);
  if (!r) return;
  // A centred line wider than its box overflows both sides equally, then gets clipped.
  int x = center ? left + ((right - left) - r->w) / 2 : left;
  SDL_Rect placed{x, top, r->w, r->h};
  SDL_Rect box{left, top, right - left, bottom - top};
  SDL_Rect dst;
  if (!SDL_IntersectRect(&placed, &box, &dst)) return;
  SDL_Rect src{dst.x - x, dst.y - top, dst.w, dst.h};
  SDL_SetTextureColorMod(r->texture.get(), (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
  SDL_SetTextureAlphaMod(r->texture.get(), color >> 24);
  SDL_RenderCopy(renderer_, r->texture.get(), &src, &dst);
}

void TextRenderer::DropRendered() {
  index_.clear();
  lru_.clear();
}

}  // namespace platform
