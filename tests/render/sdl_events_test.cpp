// The real pump and devices without a screen: SDL events pushed into SDL's own queue come
// out as key-downs, mouse records, the close request and device-loss states.
#include <gtest/gtest.h>

#include <functional>

#include "platform/sdl/sdl_pump.h"
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
  // Pushes an event of `type` as `fill` completes it.
  static void Push(Uint32 type, const std::function<void(SDL_Event&)>& fill = {}) {
    SDL_Event e{};
    e.type = type;
    if (fill) fill(e);
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  static void Key(SDL_Keycode sym, SDL_Scancode sc, Uint16 mod, Uint8 repeat = 0) {
    Push(SDL_KEYDOWN, [&](SDL_Event& e) {
      e.key.state = SDL_PRESSED;
      e.key.repeat = repeat;
      e.key.keysym = SDL_Keysym{sc, sym, mod, 0};
    });
  }
  void Window(Uint8 what) {
    Push(SDL_WINDOWEVENT, [&](SDL_Event& e) { e.window.event = what; });
    pump.DoEvents();
  }

  std::unique_ptr<SdlSubsystem> events_;
  VirtualClock clock;
  TimerHost timers{clock};
  SdlMouse mouse;
  std::shared_ptr<DeviceLoss> loss = std::make_shared<DeviceLoss>();
  SdlPump pump{timers, mouse, loss};
  std::vector<std::string> log;
};

TEST_F(SdlEvents, KeyDownsIncludingRepeatsThenMouseThenTimersThenPollersAndQuitCloses) {
  Timer timer(timers, "keys", 45, [this] { log.push_back("timer"); });
  timer.SetEnabled(true);
  clock.Advance(45);
  Key(SDLK_UP, SDL_SCANCODE_UP, KMOD_LSHIFT | KMOD_RCTRL);
  Key(SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, 1);
  Key(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, KMOD_NONE);  // no virtual key: not delivered
  Key(SDLK_p, SDL_SCANCODE_P, KMOD_LALT);
  Push(SDL_KEYUP, [](SDL_Event& e) { e.key.keysym = SDL_Keysym{SDL_SCANCODE_P, SDLK_p, 0, 0}; });
  Push(SDL_MOUSEMOTION, [](SDL_Event& e) { e.motion.xrel = 3; });
  pump.DoEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"key 38/3", "key 38/0", "key 80/4", "mouse", "timer",
                                           "poll"}));
  log.clear();
  Push(SDL_QUIT);  // asks the window to close
  pump.DoEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"close", "poll"}));
}

TEST_F(SdlEvents, MouseEventsBecomeBufferedRecords) {
  Push(SDL_MOUSEMOTION, [](SDL_Event& e) { e.motion.xrel = 3, e.motion.yrel = -2; });
  // X1 is a button the mouse format has no place for.
  for (auto [type, button] : {std::pair{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT},
                              {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT},
                              {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT},
                              {SDL_MOUSEBUTTONUP, SDL_BUTTON_X1}})
    Push(type, [b = button](SDL_Event& e) { e.button.button = b; });
  Push(SDL_MOUSEWHEEL, [](SDL_Event& e) { e.wheel.y = -1; });
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
  Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_FALSE(mouse.Captured());  // not acquired yet
  mouse.Acquire();
  for (bool focus : {true, false, true}) {
    Window(focus ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(mouse.Captured(), focus);
  }
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
      EXPECT_EQ(loss->Test(), step.level) << int(step.event);
      EXPECT_EQ(loss->Test(), step.level) << int(step.event);
    }
    EXPECT_FALSE(loss->TexturesGone());
    loss->ResetDone();
    EXPECT_EQ(loss->Test(), kD3D_OK);
  }
}

TEST_F(SdlEvents, ARendererResetIsLostOnceAndTakesTheTextures) {
  Push(SDL_RENDER_DEVICE_RESET);
  pump.DoEvents();
  EXPECT_EQ(loss->Test(), kD3DERR_DEVICELOST);
  EXPECT_EQ(loss->Test(), kD3DERR_DEVICENOTRESET);
  EXPECT_TRUE(loss->TexturesGone());
}

}  // namespace
}  // namespace platform::testing
