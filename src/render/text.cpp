// The game's fonts and their text drawing.
#include "game/frm_main.h"

namespace brikka {

// The text issue fills these in: the five fonts dropped before a device reset and made
// again after it.
void frmMain::DestroyFonts() {}
void frmMain::ReloadFonts() {}

}  // namespace brikka
