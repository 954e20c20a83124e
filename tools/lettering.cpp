// Glyph masks from SDL2_ttf, the font file found through fontconfig, and label compositing.
#include "lettering.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assets {

namespace {

struct PatternFree {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternFree>;

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// The file fontconfig matches for the family: Debian maps "Comic Sans MS" to Comic Neue.
std::string FindFontFile(const std::string& family, bool bold) {
  PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
  if (!pattern) throw std::runtime_error("bad font name " + family);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) {
    throw std::runtime_error("no font found for " + family);
  }
  return reinterpret_cast<const char*>(file);
}

}  // namespace

Lettering::Lettering() {
  if (!FcInit()) throw std::runtime_error("fontconfig cannot start");
  if (TTF_Init() != 0) {
    FcFini();
    throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
  }
}

Lettering::~Lettering() {
  fonts_.clear();
  TTF_Quit();
  FcFini();  // the generator is fontconfig's only user in this process
}

void Lettering::FontCloser::operator()(TTF_Font* font) const {
  TTF_CloseFont(font);
}

TTF_Font* Lettering::Open(const std::string& family, bool bold, int pixels) {
  const std::string key = family + (bold ? "|b|" : "|r|") + std::to_string(pixels);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  const std::string file = FindFontFile(family, bold);
  TTF_Font* font = TTF_OpenFont(file.c_str(), pixels);
  if (!font) throw std::runtime_error("cannot open font " + file + ": " + TTF_GetError());
  TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  fonts_.emplace(key, std::unique_ptr<TTF_Font, FontCloser>(font));
  return font;
}

Mask Lettering::Render(const std::string& family, bool bold, int pixels, const std::string& text) {
  TTF_Font* font = Open(family, bold, pixels);
  std::unique_ptr<SDL_Surface, SurfaceFree> rendered(
      TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255}));
  if (!rendered) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
  std::unique_ptr<SDL_Surface, SurfaceFree> argb(
      SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw std::runtime_error(std::string("cannot convert text: ") + SDL_GetError());
  Mask mask{argb->w, argb->h, 0, 0, std::vector<float>(static_cast<size_t>(argb->w) * argb->h)};
  SDL_LockSurface(argb.get());
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                      static_cast<size_t>(y) * argb->pitch);
    for (int x = 0; x < argb->w; ++x)
      mask.a[static_cast<size_t>(y) * mask.w + x] = (row[x] >> 24) / 255.0f;
  }
  SDL_UnlockSurface(argb.get());
  return mask;
}

int Lettering::Advance(const std::string& family, bool bold, int pixels, const std::string& text) {
  int w = 0, h = 0;
  if (!text.empty() && TTF_SizeUTF8(Open(family, bold, pixels), text.c_str(), &w, &h) != 0) {
    throw std::runtime_error(std::string("cannot measure text: ") + TTF_GetError());
  }
  return w;
}

InkBox Ink(const Mask& mask) {
  InkBox box{mask.w, mask.h, 0, 0};
  for (int j = 0; j < mask.h; ++j) {
    for (int i = 0; i < mask.w; ++i) {
      if (mask.At(i, j) < 0.05f) continue;
      box = {std::min(box.x0, i), std::min(box.y0, j), std::max(box.x1, i + 1),
             std::max(box.y1, j + 1)};
    }
  }
  if (box.x1 <= box.x0) return {};
  return {box.x0 + mask.ox, box.y0 + mask.oy, box.x1 + mask.ox, box.y1 + mask.oy};
}

Mask Dilate(const Mask& mask, float radius) {
  const int r = static_cast<int>(std::ceil(radius));
  Mask out{mask.w + 2 * r, mask.h + 2 * r, mask.ox - r, mask.oy - r, {}};
  out.a.assign(static_cast<size_t>(out.w) * out.h, 0.0f);
  std::vector<std::pair<int, int>> offsets;
  std::vector<float> weights;
  for (int dy = -r; dy <= r; ++dy) {
    for (int dx = -r; dx <= r; ++dx) {
      const float w = std::clamp(radius + 0.5f - std::hypot(float(dx), float(dy)), 0.0f, 1.0f);
      if (w > 0) offsets.emplace_back(dx, dy), weights.push_back(w);
    }
  }
  for (int j = 0; j < out.h; ++j) {
    for (int i = 0; i < out.w; ++i) {
      float best = 0;
      for (size_t k = 0; k < offsets.size(); ++k) {
        best = std::max(best,
                        weights[k] * mask.At(i - r + offsets[k].first, j - r + offsets[k].second));
      }
      out.a[static_cast<size_t>(j) * out.w + i] = best;
    }
  }
  return out;
}

Mask Blur(const Mask& mask, int radius) {
  if (radius <= 0) return mask;
  const int pad = 2 * radius;
  Mask out{mask.w + 2 * pad, mask.h + 2 * pad, mask.ox - pad, mask.oy - pad, {}};
  out.a.assign(static_cast<size_t>(out.w) * out.h, 0.0f);
  for (int j = 0; j < mask.h; ++j) {
    for (int i = 0; i < mask.w; ++i)
      out.a[static_cast<size_t>(j + pad) * out.w + i + pad] = mask.At(i, j);
  }
  const float norm = 1.0f / (2 * radius + 1);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<float> tmp(out.a.size(), 0.0f);
    for (int j = 0; j < out.h; ++j) {
      for (int i = 0; i < out.w; ++i) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) sum += out.At(i + d, j);
        tmp[static_cast<size_t>(j) * out.w + i] = sum * norm;
      }
    }
    for (int j = 0; j < out.h; ++j) {
      for (int i = 0; i < out.w; ++i) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) {
          const int jj = j + d;
          if (jj >= 0 && jj < out.h) sum += tmp[static_cast<size_t>(jj) * out.w + i];
        }
        out.a[static_cast<size_t>(j) * out.w + i] = sum * norm;
      }
    }
  }
  return out;
}

void DrawMask(Canvas& canvas, const Mask& mask, float x, float y, const Paint& paint,
              float opacity) {
  const int bx = static_cast<int>(std::lround(x)) + mask.ox;
  const int by = static_cast<int>(std::lround(y)) + mask.oy;
  for (int j = 0; j < mask.h; ++j) {
    for (int i = 0; i < mask.w; ++i) {
      const float a = mask.At(i, j);
      if (a > 0) canvas.Blend(bx + i, by + j, paint(bx + i + 0.5f, by + j + 0.5f), a * opacity);
    }
  }
}

void DrawLabel(Canvas& canvas, Lettering& lettering, const std::string& text, int pixels, float cx,
               float cy, const TextStyle& style, bool bold) {
  const Mask glyphs = lettering.Render(kLabelFamily, bold, pixels, text);
  const InkBox ink = Ink(glyphs);
  const float x = std::round(cx - (ink.x0 + ink.x1) / 2.0f);
  const float y = std::round(cy - (ink.y0 + ink.y1) / 2.0f);
  const Mask outline = style.outline_width > 0 ? Dilate(glyphs, style.outline_width) : glyphs;
  if (style.shadow_opacity > 0) {
    DrawMask(canvas, Blur(outline, style.shadow_blur), x + style.shadow_dx, y + style.shadow_dy,
             Solid(style.shadow), style.shadow_opacity);
  }
  if (style.outline_width > 0) DrawMask(canvas, outline, x, y, Solid(style.outline));
  DrawMask(canvas, glyphs, x, y, VerticalGradient(y + ink.y0, style.top, y + ink.y1, style.bottom));
}

int LabelWidth(Lettering& lettering, const std::string& text, int pixels, bool bold) {
  const InkBox ink = Ink(lettering.Render(kLabelFamily, bold, pixels, text));
  return ink.x1 - ink.x0;
}

}  // namespace assets
