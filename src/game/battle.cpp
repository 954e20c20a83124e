// Battle mode: rows removed in one well push rows with holes into the other.
#include "game/frm_main.h"

namespace brikka {

// The battle issue fills this in: lifting the opponent's stack and adding rows with holes.
void frmMain::BattlePlay(bool& /*right*/) {}

}  // namespace brikka
