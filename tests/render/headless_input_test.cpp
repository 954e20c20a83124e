// Headless input and pump: the mouse's bounded buffer and its signal (a full buffer still
// signalling new input: the mouse test of the play screen's records), the order of a pump
// round, and the key-code tables of scripts and of the real keyboard.
#include <gtest/gtest.h>

#include "platform/keycodes.h"
#include "platform/sdl/sdl_keymap.h"
#include "render_support.h"

namespace platform::testing {
namespace {

// Nothing is kept before the buffer size is set.
TEST(HeadlessMouse, KeepsTheFirstTenRecordsAndDropsLaterOnes) {
  HeadlessMouse mouse;
  mouse.Push({mouse_offset::Y, 99});
  mouse.SetBufferSize(10);
  int signals = 0;
  mouse.SetEventNotification([&] { ++signals; });
  for (int i = 0; i < 12; ++i) mouse.Push({mouse_offset::X, i});
  mouse.SignalIfPending();
  mouse.SignalIfPending();
  EXPECT_EQ(signals, 1);
  MouseRecord out[10];
  ASSERT_EQ(mouse.GetDeviceData(out, 4), 4);
  EXPECT_EQ(out[0].data, 0);
  EXPECT_EQ(out[3].data, 3);
  ASSERT_EQ(mouse.GetDeviceData(out, 10), 6);
  EXPECT_EQ(out[5].data, 9);
  EXPECT_EQ(mouse.GetDeviceData(out, 10), 0);
}

TEST(HeadlessPump, KeysThenMouseThenTimersThenPollers) {
  HeadlessPlatform plat(HeadlessOptions{});
  std::vector<std::string> seen;
  plat.pump->SetKeyDownHandler([&](int key, int shift) {
    seen.push_back("key " + std::to_string(key) + "/" + std::to_string(shift));
  });
  plat.mouse->SetBufferSize(10);
  plat.mouse->SetEventNotification([&] { seen.push_back("mouse"); });
  Timer timer(*plat.timers, "t", 10, [&] { seen.push_back("timer"); });
  timer.SetEnabled(true);
  plat.pump->AddPoller([&] { seen.push_back("poll"); });
  plat.mouse_device().Push({mouse_offset::X, 1});
  plat.events().QueueKeyDown(vk::Up);
  plat.events().QueueKeyDown(vk::F1);
  plat.vclock().Advance(10);
  plat.pump->DoEvents();
  EXPECT_EQ(seen, (std::vector<std::string>{"key 38/0", "key 112/0", "mouse", "timer", "poll"}));
  seen.clear();
  plat.pump->DoEvents();  // nothing new: only the pollers run
  EXPECT_EQ(seen, std::vector<std::string>{"poll"});
}

TEST(KeyNames, ScriptNamesGiveBothCodes) {
  const std::tuple<const char*, int, int> names[] = {{"UP", vk::Up, dik::Up},
                                                     {"esc", vk::Escape, dik::Escape},
                                                     {"ENTER", vk::Return, 0x1C},
                                                     {"f12", 123, 0x58},
                                                     {"p", 'P', 0x19},
                                                     {"7", '7', 0x08},
                                                     {"0", '0', 0x0B},
                                                     {"SPACE", vk::Space, dik::Space},
                                                     {"", -1, -1},
                                                     {"F13", -1, -1},
                                                     {"F1x", -1, -1},
                                                     {"AB", -1, -1}};
  for (auto [name, virtual_key, input_code] : names) {
    EXPECT_EQ(VirtualKeyByName(name), virtual_key) << name;
    EXPECT_EQ(DirectInputCodeByName(name), input_code) << name;
  }
  const std::pair<char, int> typed[] = {
      {'q', 'Q'}, {' ', vk::Space}, {'-', 189}, {'!', '1'}, {'\xE9', -1}};
  for (auto [c, code] : typed) EXPECT_EQ(VirtualKeyForChar(c), code) << c;
}

// Every key a script can name maps the same way on the real keyboard, and a Cyrillic
// layout's symbol on the A key still counts as A.
TEST(SdlKeyTables, ScancodesAsDirectInputCodesAndKeySymbolsAsVirtualKeys) {
  std::vector<std::string> names = {"Up", "Escape", "Return", "Space", "F12", "0", "9"};
  for (char c = 'A'; c <= 'Z'; ++c) names.emplace_back(1, c);
  for (const std::string& name : names)
    EXPECT_EQ(DirectInputCodeForScancode(SDL_GetScancodeFromName(name.c_str())),
              DirectInputCodeByName(name))
        << name;
  const std::pair<SDL_Scancode, int> scancodes[] = {
      {SDL_SCANCODE_KP_ENTER, 0x9C},
      {SDL_SCANCODE_RCTRL, 0x9D},
      {SDL_SCANCODE_UNKNOWN, 0},
      {static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), 0}};
  for (auto [sc, code] : scancodes) EXPECT_EQ(DirectInputCodeForScancode(sc), code) << sc;
  const std::tuple<SDL_Keycode, SDL_Scancode, int> keys[] = {
      {SDLK_a, SDL_SCANCODE_A, 'A'},
      {SDLK_KP_5, SDL_SCANCODE_KP_5, 101},
      {SDLK_F12, SDL_SCANCODE_F12, 123},
      {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
      {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 222},
      {0x444, SDL_SCANCODE_A, 'A'},
      {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0}};
  for (auto [sym, sc, code] : keys) EXPECT_EQ(VirtualKeyForSdlKey(sym, sc), code) << sym;
}

}  // namespace
}  // namespace platform::testing
