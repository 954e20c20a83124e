// What the highscore screen's five buttons do when clicked: quit, play again, back to the
// menu, and turn the pages of the table.
#include "game/frm_main.h"

namespace brikka {

// Each button is tested on its own, in this order; quitting ends everything at once.
void frmMain::HighscoreButtonsClicked() {
  if (MouseOverButton(hs.HsQuitButton)) {
    End();
    return;
  }
  if (MouseOverButton(hs.HsRestartButton)) RestartFromHighscores();
  if (MouseOverButton(hs.HsMenuButton)) {
    FillHighscores();
    Screen = 1;
  }
  // A grey page button ignores clicks; the page also never leaves the table.
  if (MouseOverButton(hs.HsNextButton) && !hs.HsNextButton.Grayed &&
      HighscorePage < PageOfRank(kHighscoreRanks)) {
    ++HighscorePage;
  }
  if (MouseOverButton(hs.HsBackButton) && !hs.HsBackButton.Grayed && HighscorePage > 0) {
    --HighscorePage;
  }
}

// Another game with the same switches and the wins counted so far: unlike the menu's start
// button, nothing is reset or re-read.
void frmMain::RestartFromHighscores() {
  FillHighscores();
  bool left = false, right = true;
  if (settings.Multiplayer) RestartGame(left);
  RestartGame(right);
  IntialiseGeometry();
  if (ended_) return;
  Screen = 2;
}

}  // namespace brikka
