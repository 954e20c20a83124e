// The play screen: its set-up for a new game (the shared block texture, the first pieces,
// the full-screen pictures and grids, the timers) and its drawing.
#include <exception>

#include "game/frm_main.h"
#include "platform/dialogs.h"
#include "render/play_screen_text.h"

namespace brikka {

void frmMain::IntialiseGeometry() {
  try {
    RightField.SkipSpawn = true;
    LeftField.SkipSpawn = true;
    BlockTexture = LoadGameTexture(Device(), AppPath() + "\\Texs\\Block.tga", 20, 20);
    PlaceNewPiece(RightField.Shape, SpawnPoint(PlayerSide::Right));
    PlaceNewPiece(RightField.NextShape, PreviewPoint(PlayerSide::Right));
    RightField.Blocks.clear();
    LeftField.Blocks.clear();
    if (settings.Multiplayer) {
      PlaceNewPiece(LeftField.Shape, SpawnPoint(PlayerSide::Left));
      PlaceNewPiece(LeftField.NextShape, PreviewPoint(PlayerSide::Left));
    }
    // Both find SkipSpawn set and only clear it: the first piece to fall is the one above.
    InitShape();
    InitShape2();

    const double W = dx.swidth, H = dx.sheight;
    QuakeSquare.init(W / 800 * 800, H / 600 * 600, 0, 0, AppPath() + "\\Texs\\main.tga", 800, 600,
                     Device());
    FramesSquare.init(W / 800 * 800, H / 600 * 600, 0, 0, AppPath() + "\\Texs\\frames.tga", 800,
                      600, Device());
    if (RightField.ShowGrid) {
      RightField.GridSquare.init(W / 800 * 200, H / 600 * 400, 450, 100,
                                 AppPath() + "\\Texs\\Grid.tga", 800, 600, Device());
    }
    if (LeftField.ShowGrid) {
      LeftField.GridSquare.init(W / 800 * 200, H / 600 * 400, 50, 100,
                                AppPath() + "\\Texs\\Grid.tga", 800, 600, Device());
    }
    RightField.TimerLevel->SetEnabled(true);
    LeftField.TimerLevel->SetEnabled(true);
    TimerKeys->SetEnabled(true);
  } catch (const std::exception&) {
    plat_.dialogs->MsgBox("An Error Occured while Initialising!", platform::mb::Critical,
                          "Initialisation Error!");
    End(1);
  }
}

// Back to front: the background and grids, the pieces and settled blocks, the overlay that
// hides a piece still above its well, then the previews and the texts on top.
bool frmMain::Render() {
  platform::Device* d = Device();
  if (!d) return false;
  d->Clear(0);
  d->BeginScene();
  FramesSquare.draw(0, d);
  if (RightField.ShowGrid) RightField.GridSquare.draw(0, d);
  if (LeftField.ShowGrid) LeftField.GridSquare.draw(0, d);
  if (settings.Multiplayer) LeftField.Shape.DrawShape(d, true, BlockTexture.get());
  RightField.Shape.DrawShape(d, true, BlockTexture.get());
  if (RRedimmmed()) TryToRenderRBlocks();
  if (LRedimmmed()) TryToRenderLBlocks();
  QuakeSquare.draw(0, d);
  RightField.NextShape.DrawShape(d, true, BlockTexture.get());
  if (settings.Multiplayer) LeftField.NextShape.DrawShape(d, true, BlockTexture.get());
  DrawPlayScreenTexts(*this);
  d->EndScene();
  d->Present();
  return true;
}

}  // namespace brikka
