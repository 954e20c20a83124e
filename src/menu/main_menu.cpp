// The main menu: its title and buttons, and what a click on each of them does.
#include "game/frm_main.h"
#include "menu/ini.h"
#include "platform/numbers.h"

namespace brikka {

void frmMain::InitMenu() {
  const double W = dx.swidth, H = dx.sheight;
  const std::string texs = AppPath() + "\\Texs\\";
  menu.MenuTitleSquare.init(W / 800 * 480, H / 600 * 72, W / 800 * 160, 0, texs + "brikka.tga", 480,
                            72, Device());
  // Positions are fixed pixels; only the sizes follow the display mode.
  struct Place {
    cButton* button;
    double left, top, width;
    const char *up, *down;
    double texwidth;
  };
  const Place buttons[] = {
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
  for (const Place& b : buttons) {
    b.button->init(W / 800 * b.width, H / 600 * 45, b.left, b.top, texs + b.up, texs + b.down,
                   b.texwidth, 60, Device());
  }
}

void frmMain::MainMenuButtonClicked() {
  MouseArmed = false;
  if (Screen == 1) {
    MenuScreenClicked();
  } else if (Screen == 3) {
    HighscoreButtonsClicked();
  }
}

// Every button is tested, in this order and each on its own: a click where the two
// rotation buttons overlap turns the sense twice and so leaves it as it was. Each switch
// is written to the settings file as soon as it changes.
void frmMain::MenuScreenClicked() {
  if (MouseOverButton(menu.MenuCcWButton)) FlipClockwise();
  if (MouseOverButton(menu.MenuCWButton)) FlipClockwise();
  if (MouseOverButton(menu.MenuMultiButton)) {
    settings.Multiplayer = !settings.Multiplayer;
    if (!settings.Multiplayer) {
      settings.Battle = false;
      WriteSetting("Battle", platform::VbBool(settings.Battle));
    }
    WriteSetting("Multiplayer", platform::VbBool(settings.Multiplayer));
  }
  if (MouseOverButton(menu.MenuBattleButton) && settings.Multiplayer) {
    settings.Battle = !settings.Battle;
    WriteSetting("Battle", platform::VbBool(settings.Battle));
  }
  if (MouseOverButton(menu.MenuMusicButton)) MusicButtonClicked();
  if (MouseOverButton(menu.MenuSoundButton)) SoundButtonClicked();
  if (MouseOverButton(menu.MenuRGridButton)) {
    RightField.ShowGrid = !RightField.ShowGrid;
    WriteSetting("rgrid", platform::VbBool(RightField.ShowGrid));
  }
  if (MouseOverButton(menu.MenuLGridButton)) {
    LeftField.ShowGrid = !LeftField.ShowGrid;
    WriteSetting("lgrid", platform::VbBool(LeftField.ShowGrid));
  }
  if (MouseOverButton(menu.MenuHighscoresButton)) OpenHighscoresFromMenu();
  if (MouseOverButton(menu.MenuQuitButton)) {
    End();
    return;
  }
  if (MouseOverButton(menu.MenuStartButton)) {
    StartGameFromMenu();
    // The new game made the cursor afresh in the corner; it stays where the mouse is, or
    // back on the menu a click would land away from the cursor the player sees.
    Cursor.setdimOnly(static_cast<float>(MouseX), static_cast<float>(MouseY));
  }
}

// The sense is always 1 or -1 (the settings reader makes sure): its opposite is the other.
void frmMain::FlipClockwise() {
  settings.Clockwise = static_cast<int16_t>(-settings.Clockwise);
  WriteSetting("Clockwise", settings.Clockwise);
}

// Turning the music on also reloads the effects and starts the tune from its beginning.
void frmMain::MusicButtonClicked() {
  settings.Music = !settings.Music;
  WriteSetting("Music", platform::VbBool(settings.Music));
  if (settings.Music) {
    LoadEffects();
    StartMusic();
  } else if (plat_.music) {
    plat_.music->Stop();
  }
}

// Effects switched on are loaded at once if they never were, so that the first one to
// play does not wait for the files in the middle of a game.
void frmMain::SoundButtonClicked() {
  settings.SFX = !settings.SFX;
  WriteSetting("SFX", platform::VbBool(settings.SFX));
  if (settings.SFX && !sounds.LandSound) LoadEffects();
}

void frmMain::WriteSetting(const char* key, int16_t value) {
  IniWrite(DataIniPath(), "Menu", key, std::to_string(value));
}

}  // namespace brikka
