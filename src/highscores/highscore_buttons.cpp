// The main menu's way to the highscore screen, and the screen's own buttons.
#include "game/frm_main.h"

namespace brikka {

// The table as it stands, nobody's score picked out.
void frmMain::OpenHighscoresFromMenu() {
  if (menu.MenuHighscoresButton.Grayed) return;
  for (PlayField* f : {&RightField, &LeftField}) {
    f->EnteringNickname = false;
    f->MadeHighscore = false;
  }
  HighscoresFromMenu = true;
  Screen = 3;
}

// The highscore-screen issue fills this in: a click on its quit, restart, menu, next and
// back buttons.
void frmMain::HighscoreButtonsClicked() {}

}  // namespace brikka
