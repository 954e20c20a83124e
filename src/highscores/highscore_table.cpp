// The highscore table, its file and the nickname entry.
#include "game/frm_main.h"

namespace brikka {

// The highscore issue fills this in: loading the table and building the screen's pictures.
void frmMain::InitHighscore() {}

// The highscore issue fills this in: whether the lost well's score enters the table.
void frmMain::CheckForHighscore(bool /*bRight*/) {}

}  // namespace brikka
