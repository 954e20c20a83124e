// The highscore screen's drawing.
#include "game/frm_main.h"

namespace brikka {

// The highscore-screen issue fills this in: the table page, its buttons and the cursor.
bool frmMain::HighScore_Render() {
  return true;
}

}  // namespace brikka
