// The main menu screen's drawing.
#include "game/frm_main.h"

namespace brikka {

// The menu-screen issue fills this in: the title, the buttons and the cursor.
bool frmMain::Menu_Render() {
  return true;
}

}  // namespace brikka
