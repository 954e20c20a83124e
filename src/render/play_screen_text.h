// The play screen's words and numbers: both side panels, the game-state words, "Paused"
// and the key hints.
#pragma once

namespace brikka {

class frmMain;

// Everything the play screen writes, in its drawing order.
void DrawPlayScreenTexts(frmMain& g);

}  // namespace brikka
