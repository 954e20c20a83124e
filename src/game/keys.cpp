// The keyboard: key-down events for turning, pausing, restarting, leaving and typing a
// nickname, and the 45 ms poll of the held keys for moving and soft drop. Every move or turn
// is tried on the scratch piece first.
#include "game/frm_main.h"
#include "platform/keycodes.h"

namespace brikka {

namespace vk = platform::vk;
namespace dik = platform::dik;

namespace {
constexpr int kKeyP = 'P', kKeyT = 'T', kKeyW = 'W';
constexpr int kF1 = vk::F1, kF2 = vk::F1 + 1, kF3 = vk::F1 + 2;
// Soft drop falls at this speed whatever the level (the second figure only matters for
// speeds the level table never reaches).
constexpr double kSoftDropSpeed = 625, kSoftDropSpeedFast = 875;
}  // namespace

void frmMain::Form_KeyDown(int KeyCode, int /*Shift*/) {
  if (KeyCode == vk::Escape) {
    // Leaving the play screen does not pause the wells: they wait on the menu as they are.
    if (Screen == 2) {
      Screen = 1;
    } else {
      End();
    }
    return;
  }
  if (NicknameEntryActive()) {
    NicknameKey(KeyCode);
    return;
  }
  if (Screen != 2) return;
  if (KeyCode == kKeyP) PauseKey(PlayerSide::Right);
  if (KeyCode == kKeyT) PauseKey(PlayerSide::Left);
  if (KeyCode == vk::Up && RightField.Active) TryTurn(PlayerSide::Right);
  if (KeyCode == kKeyW && LeftField.Active) TryTurn(PlayerSide::Left);
  bool right = true, left = false;
  if (KeyCode == kF1 && !settings.Battle) RestartGame(right);
  if (KeyCode == kF2 && !settings.Battle) RestartGame(left);
  if (KeyCode == kF3 && settings.Battle) {
    RestartGame(left);
    RestartGame(right);
  }
}

// P pauses the right well unless it has lost; T the left one, only in a two-player game.
// In battle either key pauses both.
void frmMain::PauseKey(PlayerSide side) {
  if (Field(side).GameOver) return;
  if (side == PlayerSide::Left && !settings.Multiplayer) return;
  if (settings.Battle) {
    TogglePause(PlayerSide::Right);
    TogglePause(PlayerSide::Left);
  } else {
    TogglePause(side);
  }
}

// Toggling rather than setting makes the key its own undo.
void frmMain::TogglePause(PlayerSide side) {
  PlayField& f = Field(side);
  f.Paused = !f.Paused;
  f.Active = !f.Active;
  f.TimerLevel->SetEnabled(!f.Paused);
}

void frmMain::TimerKeys_Timer() {
  Checkkeys();
}

// The held keys act on any screen while their well is active.
void frmMain::Checkkeys() {
  // A poll that cannot read the keyboard is skipped; the next one tries again.
  if (!dx.Keyboard || !dx.Keyboard->GetDeviceStateKeyboard(KeyboardState)) return;
  auto down = [this](uint8_t code) { return KeyboardState[code] != 0; };
  if (down(dik::Right) && RightField.Active) TryMove(PlayerSide::Right, 1);
  if (down(dik::Left) && RightField.Active) TryMove(PlayerSide::Right, 2);
  SoftDrop(PlayerSide::Right, down(dik::Down));
  if (down(dik::D) && LeftField.Active) TryMove(PlayerSide::Left, 1);
  if (down(dik::A) && LeftField.Active) TryMove(PlayerSide::Left, 2);
  SoftDrop(PlayerSide::Left, down(dik::S));
}

void frmMain::CopyToImgShape(PlayerSide side, bool withRotated) {
  const cShape& s = Field(side).Shape;
  double bx[4], by[4];
  for (int i = 0; i < 4; ++i) {
    bx[i] = s.BlockX(i);
    by[i] = s.BlockY(i);
  }
  ImgShape.SetEachBlock(bx, by,
                        MakeVector2(static_cast<float>(geo.sizex), static_cast<float>(geo.sizey)),
                        s.ShapeType);
  ImgShape.cPntX(s.cPntX());
  ImgShape.cPntY(s.cPntY());
  ImgShape.ShapeType = s.ShapeType;
  if (withRotated) ImgShape.Rotated = s.Rotated;
}

// The scratch copy carries `Rotated`, so it turns exactly as the real piece then will. A
// turn that would put any block outside the well or into a block is refused as a whole.
void frmMain::TryTurn(PlayerSide side) {
  CopyToImgShape(side, true);
  ImgShape.RotateME(settings.Clockwise);
  const bool wall = ScratchOutsideWell(side);
  const bool block = ScratchOverlapsBlocks(side);
  if (wall || block) return;
  PlayEffect(&Sounds::RotateSound);
  Field(side).Shape.RotateME(settings.Clockwise);
}

// direction 1 moves one column right, 2 one column left.
void frmMain::TryMove(PlayerSide side, int16_t direction) {
  if (BlockTest(side, direction) == direction) return;
  const double dx = direction == 1 ? geo.sizex : -geo.sizex;
  CopyToImgShape(side, false);
  ImgShape.AmountTranslation(dx, 0);
  const bool wall = ScratchOutsideWell(side);
  const bool block = ScratchOverlapsBlocks(side);
  if (wall || block) return;
  Field(side).Shape.AmountTranslation(dx, 0);
}

// While the key is held the piece falls at the soft-drop speed; each poll with the key up
// puts back the bonus saved when it went down.
void frmMain::SoftDrop(PlayerSide side, bool keyDown) {
  PlayField& f = Field(side);
  if (!keyDown) {
    f.SpeedBonus = f.SavedBonus;
    f.SavedBonus = 0;
    return;
  }
  if (!f.Active || f.SavedBonus != 0) return;
  f.SavedBonus = f.SpeedBonus;
  f.SpeedBonus = f.Speed < kSoftDropSpeed ? kSoftDropSpeed - f.Speed : kSoftDropSpeedFast - f.Speed;
}

}  // namespace brikka
