// The main menu and the mouse that operates it.
#include "game/frm_main.h"

namespace brikka {

// The mouse issue fills this in: the buffered mouse device and its event.
void frmMain::InitMouse() {}

void frmMain::InitMenu() {
  const double W = dx.swidth, H = dx.sheight;
  const std::string texs = AppPath() + "\\Texs\\";
  menu.MenuTitleSquare.init(W / 800 * 480, H / 600 * 72, W / 800 * 160, 0, texs + "brikka.tga", 480,
                            72, Device());
  // Positions are fixed pixels; only the sizes follow the display mode.
  struct Spec {
    cButton* button;
    double left, top, width;
    const char *up, *down;
    double texwidth;
  };
  const Spec buttons[] = {
      {&menu.MenuCWButton, 360, 100, 45, "up_CW.tga", "down_CW.tga", 60},
      {&menu.MenuCcWButton, 400, 100, 45, "up_CcW.tga", "down_CcW.tga", 60},
      {&menu.MenuMultiButton, 250, 170, 150, "up_multi.tga", "down_multi.tga", 200},
      {&menu.MenuBattleButton, 400, 170, 150, "up_battle.tga", "down_Battle.tga", 200},
      {&menu.MenuMusicButton, 250, 240, 150, "up_music.tga", "down_music.tga", 200},
      {&menu.MenuSoundButton, 400, 240, 150, "up_sound.tga", "down_sound.tga", 200},
      {&menu.MenuLGridButton, 250, 310, 150, "up_lgrid.tga", "down_lgrid.tga", 200},
      {&menu.MenuRGridButton, 400, 310, 150, "up_rgrid.tga", "down_rgrid.tga", 200},
      {&menu.MenuHighscoresButton, 250, 390, 300, "up_highscores.tga", "down_highscores.tga", 400},
      {&menu.MenuStartButton, 400, 460, 150, "up_START.tga", "down_start.tga", 200},
      {&menu.MenuQuitButton, 250, 460, 150, "up_quit.tga", "down_quit.tga", 200},
  };
  for (const Spec& b : buttons) {
    b.button->init(W / 800 * b.width, H / 600 * 45, b.left, b.top, texs + b.up, texs + b.down,
                   b.texwidth, 60, Device());
  }
}

}  // namespace brikka
