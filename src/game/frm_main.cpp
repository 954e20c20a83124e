// The main window's construction, its timers and the program's end.
#include "game/frm_main.h"

namespace brikka {

frmMain::frmMain(platform::Platform& plat) : dx(plat), plat_(plat) {
  CreateTimers();
  plat_.pump->SetKeyDownHandler([this](int key, int shift) { Form_KeyDown(key, shift); });
  plat_.pump->SetCloseHandler([this] { End(0); });
}

frmMain::~frmMain() = default;

// The window's timers in the order they fire when several are due in one pump.
void frmMain::CreateTimers() {
  auto& host = *plat_.timers;
  TimerKeys =
      std::make_unique<platform::Timer>(host, "TimerKeys", 45, [this] { TimerKeys_Timer(); });
  RightField.TimerDelay =
      std::make_unique<platform::Timer>(host, "RTimerdelay", 300, [this] { RTimerdelay_Timer(); });
  LeftField.TimerDelay =
      std::make_unique<platform::Timer>(host, "LTimerDelay", 300, [this] { LTimerDelay_Timer(); });
  RightField.TimerLevel = std::make_unique<platform::Timer>(host, "RTimerLevel", 60000,
                                                            [this] { RTimerLevel_Timer(); });
  LeftField.TimerLevel = std::make_unique<platform::Timer>(host, "LTimerLevel", 60000,
                                                           [this] { LTimerLevel_Timer(); });
  RightField.TimerGray =
      std::make_unique<platform::Timer>(host, "RTimerGray", 200, [this] { RTimerGray_Timer(); });
  LeftField.TimerGray =
      std::make_unique<platform::Timer>(host, "LTimerGray", 200, [this] { LTimerGray_Timer(); });
}

void frmMain::End(int exit_code) {
  if (ended_) return;
  ended_ = true;
  exit_code_ = exit_code;
  Running = false;
  if (plat_.music) plat_.music->Stop();
}

}  // namespace brikka
