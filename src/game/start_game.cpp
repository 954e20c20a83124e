// The main menu's start button: fresh values and settings, the play screen's set-up, the
// wells in play restarted, and the play screen shown.
#include "game/frm_main.h"

namespace brikka {

void frmMain::StartGameFromMenu() {
  Reset_Vars();
  IntialiseGeometry();
  if (ended_) return;
  bool left = false, right = true;
  if (settings.Multiplayer) RestartGame(left);
  RestartGame(right);
  Screen = 2;
}

}  // namespace brikka
