// Buttons: a rounded, bevelled body in the button's hue with a glossy top and a lettered label.
// "Down" is the same body sunken and lit from inside; switches carry a lamp that lights when down.
#include "button_art.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "canvas.h"
#include "raster.h"
#include "tga.h"
#include "theme.h"

namespace assets {

namespace {

enum class Symbol { kNone, kClockwise, kCounterClockwise };

struct ButtonLook {
  const char* up;
  const char* down;
  const char* label;
  int width, height;
  Rgb hue;
  bool lamp;  // a switch: its lamp shows whether it is on
  Symbol symbol;
};

constexpr Rgb kSwitchHue{58, 96, 214};
constexpr Rgb kActionHue{126, 68, 206};
constexpr Rgb kStartHue{38, 160, 78};
constexpr Rgb kQuitHue{196, 48, 72};
constexpr Rgb kTurnHue{226, 128, 28};

constexpr ButtonLook kButtons[] = {
    {"up_CW.tga", "down_CW.tga", "CW", 60, 60, kTurnHue, false, Symbol::kClockwise},
    {"up_CcW.tga", "down_CcW.tga", "CCW", 60, 60, kTurnHue, false, Symbol::kCounterClockwise},
    {"up_multi.tga", "down_multi.tga", "Multiplayer", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_battle.tga", "down_Battle.tga", "Battle", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_music.tga", "down_music.tga", "Music", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_sound.tga", "down_sound.tga", "Sound", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_lgrid.tga", "down_lgrid.tga", "Left Grid", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_rgrid.tga", "down_rgrid.tga", "Right Grid", 200, 60, kSwitchHue, true, Symbol::kNone},
    {"up_highscores.tga", "down_highscores.tga", "Highscores", 400, 60, kActionHue, false,
     Symbol::kNone},
    {"up_START.tga", "down_start.tga", "Start", 200, 60, kStartHue, false, Symbol::kNone},
    {"up_quit.tga", "down_quit.tga", "Quit", 200, 60, kQuitHue, false, Symbol::kNone},
    {"up_next.tga", "down_next.tga", "Next", 200, 60, kActionHue, false, Symbol::kNone},
    {"up_back.tga", "down_back.tga", "Back", 200, 60, kActionHue, false, Symbol::kNone},
    {"up_restart.tga", "down_restart.tga", "Restart", 200, 60, kActionHue, false, Symbol::kNone},
    {"up_menu.tga", "down_menu.tga", "Menu", 200, 60, kActionHue, false, Symbol::kNone},
};

void DrawBody(Canvas& canvas, const ButtonLook& look, bool down) {
  const RectF outer{1, 1, look.width - 1.0f, look.height - 1.0f};
  const float radius = look.height * 0.28f;
  FillRoundRect(canvas, outer, radius, Solid(palette::kOutline));
  const RectF body = outer.Inset(2);
  const Sdf shape = RoundRectSdf(body, radius - 2);
  if (!down) {
    const Paint face =
        VerticalGradient(body.y0, Lit(look.hue, 0.3f), body.y1, Scaled(look.hue, 0.5f));
    FillRoundRect(canvas, body, radius - 2, Bevel(face, shape, 4, 0.55f));
    // Glossy upper half.
    const RectF gloss{body.x0 + 4, body.y0 + 3, body.x1 - 4, body.y0 + body.height() * 0.48f};
    FillRoundRect(canvas, gloss, radius - 5,
                  VerticalGradient(gloss.y0, {255, 255, 255}, gloss.y1, Lit(look.hue, 0.5f)),
                  0.28f);
    return;
  }
  // Pressed in: darker at the top where the rim shades it, glowing towards the bottom.
  const Paint base =
      VerticalGradient(body.y0, Scaled(look.hue, 0.45f), body.y1, Lit(look.hue, 0.35f));
  const float cx = (body.x0 + body.x1) / 2, cy = body.y1 - body.height() * 0.35f;
  const float rx = body.width() * 0.55f, ry = body.height() * 0.8f;
  const Rgb glow = Lit(look.hue, 0.7f);
  const Paint face = [=](float x, float y) {
    const float d = std::min(1.0f, std::hypot((x - cx) / rx, (y - cy) / ry));
    return Mix(base(x, y), glow, 0.5f * (1 - d) * (1 - d));
  };
  FillRoundRect(canvas, body, radius - 2, Bevel(face, shape, 5, -0.6f));
  StrokeRoundRect(canvas, body.Inset(2), radius - 4, 2, Solid(Lit(look.hue, 0.75f)), 0.55f);
}

void DrawLamp(Canvas& canvas, float cx, float cy, bool on) {
  FillCircle(canvas, {cx, cy}, 8.5f, Solid(palette::kOutline));
  if (on) {
    FillSdf(canvas, {cx - 16, cy - 16, cx + 16, cy + 16}, CircleSdf({cx, cy}, 7),
            Solid({150, 255, 150}), 0.5f, 10);
    FillCircle(canvas, {cx, cy}, 6.5f, [cx, cy](float x, float y) {
      const float d = std::hypot(x - cx + 1.5f, y - cy + 1.5f) / 7.0f;
      return Mix(Rgb{235, 255, 225}, Rgb{40, 210, 80}, std::min(d, 1.0f));
    });
  } else {
    FillCircle(canvas, {cx, cy}, 6.5f,
               VerticalGradient(cy - 6, {30, 44, 40}, cy + 6, {56, 74, 66}));
  }
  FillCircle(canvas, {cx - 2, cy - 2.5f}, 2, Solid({255, 255, 255}), on ? 0.9f : 0.35f);
}

// A round arrow: an open ring with a head at its end, turning the way the button turns pieces.
void DrawTurnArrow(Canvas& canvas, PointF c, float radius, float band, bool clockwise,
                   Paint paint) {
  const float pi = std::numbers::pi_v<float>;
  const float start = -30 * pi / 180, end = 250 * pi / 180;  // clockwise on screen (y down)
  const auto mirror = [&](float x) { return clockwise ? x : 2 * c.x - x; };
  const RectF box{c.x - radius - band, c.y - radius - band, c.x + radius + band,
                  c.y + radius + band};
  FillRegion(
      canvas, box,
      [&](float x, float y) {
        const float dx = mirror(x) - c.x, dy = y - c.y;
        const float r = std::hypot(dx, dy);
        if (std::fabs(r - radius) > band / 2) return false;
        float a = std::atan2(dy, dx);
        if (a < start) a += 2 * pi;
        return a >= start && a <= end;
      },
      paint);
  const PointF tip_dir{-std::sin(end), std::cos(end)}, out{std::cos(end), std::sin(end)};
  const PointF e{c.x + radius * out.x, c.y + radius * out.y};
  // The head grows with the band so a wider band drawn first outlines it evenly.
  const float grow = (band - 4) * 0.6f, half = 7 + grow, length = 7.5f + grow, back = 1 + grow;
  std::vector<PointF> head = {
      {e.x + tip_dir.x * length, e.y + tip_dir.y * length},
      {e.x + out.x * half - tip_dir.x * back, e.y + out.y * half - tip_dir.y * back},
      {e.x - out.x * half - tip_dir.x * back, e.y - out.y * half - tip_dir.y * back}};
  for (PointF& p : head) p.x = mirror(p.x);
  FillPolygon(canvas, head, paint);
}

int FitLabel(Lettering& lettering, const std::string& text, int pixels, float max_width) {
  while (pixels > 10 && LabelWidth(lettering, text, pixels) > max_width) --pixels;
  return pixels;
}

Canvas MakeButton(const ButtonLook& look, bool down, Lettering& lettering) {
  Canvas button(look.width, look.height);
  DrawBody(button, look, down);
  const float shift = down ? 1.5f : 0.0f;  // the label sinks with the button
  TextStyle style;
  style.top = down ? Rgb{255, 255, 236} : Rgb{255, 255, 255};
  style.bottom = down ? Rgb{255, 236, 170} : Rgb{214, 222, 246};
  float left = 8, right = look.width - 8.0f;
  if (look.lamp) {
    DrawLamp(button, 24, look.height / 2.0f + shift, down);
    left = 38;
  }
  if (look.symbol != Symbol::kNone) {
    const Paint arrow = VerticalGradient(10, style.top, 36, style.bottom);
    const bool cw = look.symbol == Symbol::kClockwise;
    DrawTurnArrow(button, {31, 24 + shift}, 12.5f, 7.5f, cw, Solid(palette::kOutline));
    DrawTurnArrow(button, {31, 24 + shift}, 12.5f, 4.0f, cw, arrow);
    DrawLabel(button, lettering, look.label, FitLabel(lettering, look.label, 17, 44), 30,
              48 + shift, style);
    return button;
  }
  const int pixels = FitLabel(lettering, look.label, 30, right - left);
  DrawLabel(button, lettering, look.label, pixels, (left + right) / 2,
            look.height / 2.0f - 1 + shift, style);
  return button;
}

}  // namespace

void WriteButtonPictures(const std::filesystem::path& texs, Lettering& lettering) {
  for (const ButtonLook& look : kButtons) {
    WriteTga(texs / look.up, MakeButton(look, false, lettering).ToKeyedImage(palette::kSkyBottom));
    WriteTga(texs / look.down, MakeButton(look, true, lettering).ToKeyedImage(palette::kSkyBottom));
  }
}

}  // namespace assets
