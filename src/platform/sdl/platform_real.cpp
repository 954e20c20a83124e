// The game on the real machine: every SDL device wired into one platform, the files
// beside the executable, and the random generator seeded from the clock.
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_pump.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_video.h"

namespace platform {

std::unique_ptr<Platform> MakeRealPlatform(const RealPlatformOptions& options) {
  auto p = std::make_unique<Platform>();
  p->app_dir = ExecutableFolder();
  p->data_dir = p->app_dir;
  p->clock = MakeSystemClock();
  p->timers = std::make_unique<TimerHost>(*p->clock);
  auto loss = std::make_shared<DeviceLoss>();
  p->video = std::make_unique<SdlVideo>(loss, options.windowed);
  p->keyboard = std::make_unique<SdlKeyboard>();
  auto mouse = std::make_unique<SdlMouse>();
  SdlMouse& mouse_ref = *mouse;
  p->mouse = std::move(mouse);
  auto audio = std::make_shared<AudioOutput>();
  p->sound = std::make_unique<SdlSoundSystem>(audio);
  p->music = std::make_unique<SdlMusic>(audio);
  p->dialogs = MakeSdlDialogs();
  p->pump = std::make_unique<SdlPump>(*p->timers, mouse_ref, loss);
  p->StartNetwork();
  p->random.Seed(static_cast<uint32_t>(p->clock->GetTickCount()));
  return p;
}

}  // namespace platform
