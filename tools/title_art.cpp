// "Brikka" as a sticker: a light rim, a dark outline and each letter in its own piece colour.
#include "title_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "block_art.h"
#include "tga.h"
#include "theme.h"

namespace assets {

namespace {

constexpr const char* kWord = "Brikka";
constexpr std::array<int, 6> kLetterPiece = {2, 6, 3, 1, 7, 5};  // piece colour per letter

int FitPixels(Lettering& lettering, float height, float max_width) {
  for (int px = 120; px > 8; --px) {
    const InkBox ink = Ink(lettering.Render(kLabelFamily, true, px, kWord));
    const float rim = px * 0.16f;
    if (ink.y1 - ink.y0 + 2 * rim <= height && ink.x1 - ink.x0 + 2 * rim <= max_width) return px;
  }
  return 8;
}

}  // namespace

float DrawTitleWord(Canvas& canvas, Lettering& lettering, float cx, float cy, float height,
                    float max_width) {
  const int px = FitPixels(lettering, height, max_width);
  const Mask glyphs = lettering.Render(kLabelFamily, true, px, kWord);
  const InkBox ink = Ink(glyphs);
  const float x = std::round(cx - (ink.x0 + ink.x1) / 2.0f);
  const float y = std::round(cy - (ink.y0 + ink.y1) / 2.0f);
  std::array<float, 7> starts{};
  const std::string word = kWord;
  for (size_t i = 0; i <= word.size(); ++i) {
    starts[i] = x + lettering.Advance(kLabelFamily, true, px, word.substr(0, i));
  }
  const Mask outline = Dilate(glyphs, px * 0.075f);
  const Mask rim = Dilate(glyphs, px * 0.16f);
  DrawMask(canvas, Blur(rim, 2), x + 3, y + 4, Solid({0, 0, 10}), 0.65f);
  DrawMask(canvas, rim, x, y,
           VerticalGradient(y + ink.y0, {255, 255, 255}, y + ink.y1, {190, 196, 236}));
  DrawMask(canvas, outline, x, y, Solid(palette::kOutline));
  const float top = y + ink.y0, span = static_cast<float>(ink.y1 - ink.y0);
  const Paint letters = [&](float px_x, float px_y) {
    size_t letter = 0;
    while (letter + 1 < word.size() && px_x >= starts[letter + 1]) ++letter;
    const Rgb c = PieceColour(kLetterPiece[letter]);
    const float t = std::clamp((px_y - top) / span, 0.0f, 1.0f);
    if (t < 0.42f) return Mix(Lit(c, 0.6f), c, t / 0.42f);
    return Mix(c, Scaled(c, 0.62f), (t - 0.42f) / 0.58f);
  };
  DrawMask(canvas, glyphs, x, y, letters);
  return ink.x1 - ink.x0 + 2 * px * 0.16f;
}

void WriteTitlePicture(const std::filesystem::path& texs, Lettering& lettering) {
  Canvas title(480, 72);
  const float width = DrawTitleWord(title, lettering, 240, 36, 68, 330);
  // A falling piece on each side of the name.
  const int cell = 13;
  const int left = static_cast<int>(240 - width / 2) - 4 * cell - 6;
  const int right = static_cast<int>(240 + width / 2) + 8;
  DrawPiece(title, 7, left, 36 - cell, cell, 0, PieceColour(4));
  DrawPiece(title, 3, right, 36 - cell - 6, cell, 1, PieceColour(7));
  WriteTga(texs / "brikka.tga", title.ToKeyedImage(palette::kSkyTop));
}

}  // namespace assets
