// The real pump and devices without a screen: SDL events pushed into SDL's own queue come
// out as key-downs, mouse records, the close request and device-loss states; the display
// formats map to their Direct3D codes.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_pump.h"
#include "platform/sdl/sdl_video.h"
#include "render_support.h"

namespace platform::testing {
namespace {

class SdlEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    events_ = SdlSubsystem::Start(SDL_INIT_EVENTS, error);
    ASSERT_TRUE(events_) << error;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    mouse.SetBufferSize(10);
    mouse.SetEventNotification([this] { log.push_back("mouse"); });
    pump.SetKeyDownHandler([this](int key, int shift) {
      log.push_back("key " + std::to_string(key) + "/" + std::to_string(shift));
    });
    pump.SetCloseHandler([this] { log.push_back("close"); });
    pump.AddPoller([this] { log.push_back("poll"); });
  }
  static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
  static void Key(SDL_Keycode sym, SDL_Scancode sc, Uint16 mod, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat;
    e.key.keysym = SDL_Keysym{sc, sym, mod, 0};
    Push(e);
  }
  static void Window(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    Push(e);
  }

  std::unique_ptr<SdlSubsystem> events_;
  VirtualClock clock;
  TimerHost timers{clock};
  SdlMouse mouse;
  std::shared_ptr<DeviceLoss> loss = std::make_shared<DeviceLoss>();
  SdlPump pump{timers, mouse, loss};
  std::vector<std::string> log;
};

TEST_F(SdlEvents, KeyDownsIncludingRepeatsThenMouseThenTimersThenPollers) {
  Timer timer(timers, "keys", 45, [this] { log.push_back("timer"); });
  timer.SetEnabled(true);
  clock.Advance(45);
  Key(SDLK_UP, SDL_SCANCODE_UP, KMOD_LSHIFT | KMOD_RCTRL);
  Key(SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, 1);
  Key(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, KMOD_NONE);  // no virtual key: not delivered
  Key(SDLK_p, SDL_SCANCODE_P, KMOD_LALT);
  SDL_Event up{};
  up.type = SDL_KEYUP;
  up.key.keysym = SDL_Keysym{SDL_SCANCODE_P, SDLK_p, 0, 0};
  Push(up);
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.xrel = 3;
  Push(motion);
  pump.DoEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"key 38/3", "key 38/0", "key 80/4", "mouse", "timer",
                                           "poll"}));
}

TEST_F(SdlEvents, MouseEventsBecomeBufferedRecords) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.xrel = 3;
  e.motion.yrel = -2;
  Push(e);
  e = {};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  Push(e);
  e.type = SDL_MOUSEBUTTONUP;
  Push(e);
  e.button.button = SDL_BUTTON_RIGHT;
  Push(e);
  e.button.button = SDL_BUTTON_X1;  // a button the mouse format has no place for
  Push(e);
  e = {};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = -1;
  Push(e);
  pump.DoEvents();
  MouseRecord r[10];
  const int n = mouse.GetDeviceData(r, 10);
  using Records = std::vector<std::pair<uint32_t, int32_t>>;
  Records got;
  for (int i = 0; i < n; ++i) got.emplace_back(r[i].offset, r[i].data);
  EXPECT_EQ(got, (Records{{mouse_offset::X, 3},
                          {mouse_offset::Y, -2},
                          {mouse_offset::Button0, 0x80},
                          {mouse_offset::Button0, 0},
                          {mouse_offset::Button1, 0},
                          {mouse_offset::Wheel, -120}}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "mouse"), 1);
}

TEST_F(SdlEvents, TheMouseIsHeldOnlyWhileTheWindowHasTheFocus) {
  EXPECT_FALSE(mouse.Captured());
  Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  pump.DoEvents();
  EXPECT_FALSE(mouse.Captured());  // not acquired yet
  mouse.Acquire();
  Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  pump.DoEvents();
  EXPECT_TRUE(mouse.Captured());
  Window(SDL_WINDOWEVENT_FOCUS_LOST);
  pump.DoEvents();
  EXPECT_FALSE(mouse.Captured());
  Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  pump.DoEvents();
  EXPECT_TRUE(mouse.Captured());
}

TEST_F(SdlEvents, QuitAsksTheWindowToClose) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  Push(e);
  pump.DoEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"close", "poll"}));
}

// Minimising the window and switching to another program each take the device for as long
// as they last; once both are undone it waits for its reset.
TEST_F(SdlEvents, AMinimisedOrUnfocusedWindowIsLostUntilBackThenNeedsAReset) {
  struct Step {
    Uint8 event;
    int32_t level;  // what the device reports after it, twice over
  };
  const std::vector<std::vector<Step>> cases = {
      {{SDL_WINDOWEVENT_MINIMIZED, kD3DERR_DEVICELOST},
       {SDL_WINDOWEVENT_RESTORED, kD3DERR_DEVICENOTRESET}},
      {{SDL_WINDOWEVENT_FOCUS_LOST, kD3DERR_DEVICELOST},
       {SDL_WINDOWEVENT_FOCUS_GAINED, kD3DERR_DEVICENOTRESET}},
      {{SDL_WINDOWEVENT_FOCUS_LOST, kD3DERR_DEVICELOST},
       {SDL_WINDOWEVENT_MINIMIZED, kD3DERR_DEVICELOST},
       {SDL_WINDOWEVENT_RESTORED, kD3DERR_DEVICELOST},
       {SDL_WINDOWEVENT_FOCUS_GAINED, kD3DERR_DEVICENOTRESET}},
  };
  for (const auto& steps : cases) {
    for (const Step& step : steps) {
      Window(step.event);
      pump.DoEvents();
      EXPECT_EQ(loss->Test(), step.level) << int(step.event);
      EXPECT_EQ(loss->Test(), step.level) << int(step.event);
    }
    EXPECT_FALSE(loss->TexturesGone());
    loss->ResetDone();
    EXPECT_EQ(loss->Test(), kD3D_OK);
  }
}

TEST_F(SdlEvents, ARendererResetIsLostOnceAndTakesTheTextures) {
  SDL_Event e{};
  e.type = SDL_RENDER_DEVICE_RESET;
  Push(e);
  pump.DoEvents();
  EXPECT_EQ(loss->Test(), kD3DERR_DEVICELOST);
  EXPECT_EQ(loss->Test(), kD3DERR_DEVICENOTRESET);
  EXPECT_TRUE(loss->TexturesGone());
}

TEST(SdlDisplayFormats, MapToDirect3DCodes) {
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGB888), d3dfmt::X8R8G8B8);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGB24), d3dfmt::R8G8B8);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGB565), d3dfmt::R5G6B5);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGB555), d3dfmt::X1R5G5B5);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGB444), d3dfmt::X4R4G4B4);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_ARGB8888), d3dfmt::A8R8G8B8);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_ARGB1555), d3dfmt::A1R5G5B5);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_ARGB4444), d3dfmt::A4R4G4B4);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_BGR888), d3dfmt::Unknown);
  EXPECT_EQ(D3dFormatOf(SDL_PIXELFORMAT_RGBA8888), d3dfmt::Unknown);
}

}  // namespace
}  // namespace platform::testing
