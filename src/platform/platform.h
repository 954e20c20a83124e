// Every seam between the game and the machine, in one place. The game, the simulator and
// the tests see the machine only through these types.
//
//   Clock          clock.h     GetTickCount and sleeping (system uptime / virtual ms)
//   TimerHost      timers.h    window timers, fired from the pump in creation order
//   EventPump      pump.h      DoEvents: input events, due timers, network completions
//   KeyboardDevice input.h     the 256-byte keyboard state by DirectInput code
//   MouseDevice    input.h     buffered mouse records (X, Y, buttons), 10 deep
//   key codes      keycodes.h  virtual-key and DirectInput codes, and their script names
//   VideoSystem    display.h   the mode list and the full-screen drawing device
//   Device         display.h   clear/present, textures with colour key, quads, fonts, text
//   SoundSystem    sound.h     wave effects played once
//   MusicPlayer    sound.h     the MIDI tune: play, pause, stop, position, length
//   Dialogs        dialogs.h   message boxes (also echoed to standard error)
//   Random         random.h    one generator seeded once
//   files          files.h     the application folder, case-insensitive asset paths,
//                              atomic file replacement
//   INI files      ini.h       profile-string reads and writes with Windows behaviour
//   numbers        numbers.h   CInt/CLng (half to even), truth values, D3DColorXRGB
//   grouping       locale_numbers.h  the user's thousands separator as game text
//   NetLoop        net/net_loop.h  the one-thread network loop the pump polls (sockets,
//                              timers, host look-ups)
//   LabelWindow    label_window.h  a small window of its own with one line of text
//
// The machines behind the seams live in wings: sdl/ the real one (MakeRealPlatform),
// headless/ the scripted one of the tests and the simulator, net/ the Asio network.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/net/net_loop.h"
#include "platform/pump.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/timers.h"

namespace platform {

struct Platform {
  virtual ~Platform() = default;
  std::string app_dir;   // the executable's folder: textures, sounds, the tune
  std::string data_dir;  // where Data.ini and the highscore file live (normally app_dir)
  std::unique_ptr<Clock> clock;
  std::unique_ptr<TimerHost> timers;
  std::unique_ptr<VideoSystem> video;
  std::unique_ptr<KeyboardDevice> keyboard;
  std::unique_ptr<MouseDevice> mouse;
  std::unique_ptr<SoundSystem> sound;
  std::unique_ptr<MusicPlayer> music;
  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<EventPump> pump;
  // The program's one network loop, polled by the pump at the end of every round.
  std::unique_ptr<NetLoop> net;
  Random random;

  // Makes the network loop and has the pump poll it (once the pump is there).
  void StartNetwork() {
    net = std::make_unique<NetLoop>();
    pump->AddPoller([loop = net.get()] { loop->Poll(); });
  }
};

struct RealPlatformOptions {
  // An 800 x 600 window that can be resized (the picture scaled, its shape kept) instead of
  // the whole desktop.
  bool windowed = false;
};

// The game on the real machine: SDL window, keyboard, mouse, audio; seeded from the clock.
std::unique_ptr<Platform> MakeRealPlatform(const RealPlatformOptions& options = {});

}  // namespace platform
