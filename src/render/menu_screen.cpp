// The main menu screen's drawing: the background, the title, every button showing its
// switch (down when on) and greyed where it cannot be used, and the cursor over it all.
#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

namespace {
constexpr uint32_t kWhite = platform::D3DColorXRGB(255, 255, 255);
constexpr uint32_t kGrey = platform::D3DColorXRGB(123, 123, 123);
}  // namespace

bool frmMain::Menu_Render() {
  platform::Device* d = Device();
  if (!d) return false;
  d->Clear(0);
  d->BeginScene();
  hs.HsBackground.draw(0, d);
  menu.MenuTitleSquare.draw(0, d);
  // Only a sense of exactly 1 is clockwise; anything else read from the file shows the
  // other button down.
  const bool clockwise = settings.Clockwise == 1;
  menu.MenuCWButton.draw(clockwise, 0, d);
  menu.MenuCcWButton.draw(!clockwise, 0, d);
  menu.MenuMultiButton.draw(settings.Multiplayer, 0, d);
  // Battle needs two players: grey (and so refused by the click handler) until then.
  menu.MenuBattleButton.draw(settings.Battle, settings.Multiplayer ? kWhite : kGrey, d);
  menu.MenuMusicButton.draw(settings.Music, 0, d);
  menu.MenuSoundButton.draw(settings.SFX, 0, d);
  menu.MenuLGridButton.draw(LeftField.ShowGrid, 0, d);
  menu.MenuRGridButton.draw(RightField.ShowGrid, 0, d);
  menu.MenuHighscoresButton.draw(false, HighscoresAvailable ? kWhite : kGrey, d);
  menu.MenuStartButton.draw(false, 0, d);
  menu.MenuQuitButton.draw(false, 0, d);
  Cursor.draw(0, d);
  d->EndScene();
  d->Present();
  return true;
}

}  // namespace brikka
