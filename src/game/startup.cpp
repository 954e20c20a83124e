// Start-up: the load event's sequence up to the frame loop, and the window's initial values.
#include <string>

#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

using platform::CInt;

bool frmMain::StartUp(const HighscoreFlags* kept) {
  const HighscoreFlags flags = kept ? *kept : HighscoreFlags{};
  HighscoreDownloadMode = flags.HighscoreDownloadMode;
  HighscoresAvailable = flags.HighscoresAvailable;
  if (!dx.intialise(0, true)) {
    plat_.dialogs->MsgBox("Couldn't intialise Directx !", platform::mb::Critical,
                          "Directx Intialisation Error!");
    End(1);
    return false;
  }
  if (FPS_Current == 0) FPS_Current = 25;
  Reset_Vars();
  InitMouse();
  InitMenu();
  if (settings.SFX) InitSFX();
  TimerKeys->SetEnabled(true);
  Running = true;
  Screen = 1;
  MouseArmed = true;
  InitHighscore();
  if (settings.Music) StartMusic();
  return !ended_;
}

void frmMain::Form_Load(const HighscoreFlags* kept) {
  if (!StartUp(kept)) return;
  while (Running && !ended_) FramePass();
}

void frmMain::ComputeGeometry(double W, double H) {
  geo.sizex = CInt(W / 800 * 20);
  geo.sizey = CInt(H / 600 * 20);
  geo.LStartX = CInt(W / 800 * 50);
  geo.LEndX = CInt(W / 800 * 250);
  geo.RStartX = CInt(W / 800 * 450);
  geo.REndX = geo.sizex * 10 + geo.RStartX;
  geo.StartY = CInt(H / 600 * 100);
  geo.EndY = CInt(H / 600 * 500);
}

void frmMain::Reset_Vars() {
  RightField.TimerDelay->SetInterval(300);
  LeftField.TimerDelay->SetInterval(300);
  Cursor.init(32, 32, 0, 0, AppPath() + "\\Texs\\cursor.tga", 32, 32, Device());
  ComputeGeometry(dx.swidth, dx.sheight);
  for (PlayField* f : {&RightField, &LeftField}) {
    f->Speed = 25;
    f->SpeedBonus = 0;
    f->Score = 0;
    f->Wins = 0;
    f->Level = 1;
    f->Lines = 0;
    f->GameOver = false;
    f->Paused = false;
    f->PromptPending = false;  // a placement waits for the score just cleared
  }
  quake.QuakeDir = 1;
  quake.QuakeLimit = 1;
  ReadMenus();
}

}  // namespace brikka
