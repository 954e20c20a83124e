// The screen shake: moving the play screen up and down and putting it back at rest.
#include "game/frm_main.h"

namespace brikka {

// The quake issue fills this in; until then no shake runs and the displacement stays 0.
void frmMain::Quake() {}

// The quake issue fills this in: recording the rest positions after a row removal.
void frmMain::FillOrgPos() {}

}  // namespace brikka
