// The play screen's texts. Each side panel shows its well's score (or wins in battle), level
// and lines; the left panel shows fixed starting values while only one player plays.
#include "render/play_screen_text.h"

#include <string>

#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

namespace {

constexpr uint32_t kWhite = platform::D3DColorXRGB(255, 255, 255);
constexpr uint32_t kRed = platform::D3DColorXRGB(255, 0, 0);
const char kFontName[] = "Comic Sans MS";

// Panel rows: the label centred from x, the value from x + 10, one line lower.
constexpr float kPanelRows[3] = {310, 370, 430};
constexpr float kValueDrop = 30;

void DrawPanel(frmMain& g, PlayerSide side) {
  const bool right = side == PlayerSide::Right;
  cText& font = right ? g.fonts.PlayTextA : g.fonts.PlayTextB;
  const float label_x = right ? 665 : 265, value_x = right ? 675 : 275;
  const PlayField& f = g.Field(side);
  // A left well nobody plays is not shown with whatever its counters hold.
  const bool own = right || g.settings.Multiplayer;
  const bool wins = own && g.settings.Battle;
  const std::string rows[3][2] = {
      {wins ? "Wins" : "Score", !own   ? "0"
                                : wins ? std::to_string(f.Wins)
                                       : FormatNumber(f.Score)},
      {"Level", own ? std::to_string(f.Level) : "1"},
      {"Lines", own ? std::to_string(f.Lines) : "0"},
  };
  platform::Device* d = g.Device();
  for (int i = 0; i < 3; ++i) {
    font.Render(d, rows[i][0], label_x, kPanelRows[i], kWhite, true);
    font.Render(d, rows[i][1], value_x, kPanelRows[i] + kValueDrop, kWhite, false);
  }
}

// "Game Over" (or "Looser" in battle) over a lost well, "Winner" over a battle's survivor,
// each with the key that starts again.
void DrawStateWords(frmMain& g, PlayerSide side) {
  const bool right = side == PlayerSide::Right;
  const bool battle = g.settings.Battle;
  const PlayField& f = g.Field(side);
  const PlayField& other = g.Field(right ? PlayerSide::Left : PlayerSide::Right);
  const char* word = nullptr;
  if (f.GameOver) {
    word = battle ? "Looser" : "Game Over";
  } else if (battle && other.GameOver) {
    word = "Winner";
  }
  if (!word) return;
  const char* restart = battle ? "F3 to Restart" : right ? "F1 to Restart" : "F2 to Restart";
  cText& bold = g.fonts.PlayTextBold;
  bold.Render(g.Device(), word, right ? 490 : 90, 200, kRed, false);
  bold.Render(g.Device(), restart, right ? 475 : 65, 230, kRed, false);
}

// The hints are written smaller with the highscore rows' font, which goes back to its
// own size afterwards.
void DrawKeyHints(frmMain& g) {
  cText& hints = g.fonts.HsRowText;
  platform::Device* d = g.Device();
  const bool battle = g.settings.Battle;
  hints.init(kFontName, 12, false, d);
  hints.Render(d, battle ? "'F3' to Restart,'P' to Pause" : "'F1' to Restart,'P' to Pause", 450,
               570, kWhite, false);
  hints.Render(d, battle ? "'F3' to Restart,'T' to Pause" : "'F2' to Restart,'T' to Pause", 50, 570,
               kWhite, false);
  hints.init(kFontName, 17, false, d);
}

}  // namespace

void DrawPlayScreenTexts(frmMain& g) {
  DrawPanel(g, PlayerSide::Right);
  DrawPanel(g, PlayerSide::Left);
  DrawStateWords(g, PlayerSide::Right);
  DrawStateWords(g, PlayerSide::Left);
  cText& bold = g.fonts.PlayTextBold;
  if (g.LeftField.Paused) bold.Render(g.Device(), "Paused", 105, 200, kRed, false);
  if (g.RightField.Paused) bold.Render(g.Device(), "Paused", 505, 200, kRed, false);
  DrawKeyHints(g);
}

}  // namespace brikka
