// The highscore table, its file and the nickname entry.
#include "game/frm_main.h"

namespace brikka {

// The pictures and the five shared fonts are made here; the highscore issue adds the table
// and its file.
void frmMain::InitHighscore() {
  const double W = dx.swidth, H = dx.sheight;
  const std::string texs = AppPath() + "\\Texs\\";
  hs.HsBackground.init(W / 800 * 800, H / 600 * 600, 0, 0, texs + "bck.tga", 800, 600, Device());
  struct Spec {
    cButton* button;
    double left;
    const char *up, *down;
  };
  const Spec buttons[] = {
      {&hs.HsNextButton, 650, "up_next.tga", "down_next.tga"},
      {&hs.HsBackButton, 0, "up_back.tga", "down_back.tga"},
      {&hs.HsRestartButton, 180, "up_restart.tga", "down_restart.tga"},
      {&hs.HsMenuButton, 330, "up_menu.tga", "down_menu.tga"},
      {&hs.HsQuitButton, 480, "up_quit.tga", "down_quit.tga"},
  };
  for (const Spec& b : buttons) {
    b.button->init(W / 800 * 150, H / 600 * 45, b.left, 500, texs + b.up, texs + b.down, 200, 60,
                   Device());
  }
  fonts.HsRowText.init("Comic Sans MS", 17, false, Device());
  fonts.HsTitleText.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextA.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextB.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextBold.init("Comic Sans MS", 17, true, Device());
}

// The highscore issue fills this in: whether the lost well's score enters the table.
void frmMain::CheckForHighscore(bool /*bRight*/) {}

}  // namespace brikka
