// The main menu and the mouse that operates it.
#include "game/frm_main.h"

namespace brikka {

// The main-menu issue fills this in: the buffered mouse device and its event.
void frmMain::InitMouse() {}

// The main-menu issue fills this in: the title picture and the eleven buttons.
void frmMain::InitMenu() {}

}  // namespace brikka
