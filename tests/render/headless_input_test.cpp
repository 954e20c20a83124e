// Headless input and pump: the mouse's bounded buffer and its signal (a full buffer still
// signalling new input: the mouse test of the play screen's records), the order of a pump
// round, and the key-code tables of scripts and of the real keyboard.
#include <gtest/gtest.h>

#include "platform/keycodes.h"
#include "platform/sdl/sdl_keymap.h"
#include "render_support.h"

namespace platform::testing {
namespace {

TEST(HeadlessMouse, KeepsTheFirstTenRecordsAndDropsLaterOnes) {
  HeadlessMouse mouse;
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

TEST(HeadlessMouse, KeepsNothingBeforeItsBufferSizeIsSet) {
  HeadlessMouse mouse;
  mouse.Push({mouse_offset::X, 3});
  MouseRecord out[1];
  EXPECT_EQ(mouse.GetDeviceData(out, 1), 0);
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
  EXPECT_EQ(VirtualKeyByName("UP"), vk::Up);
  EXPECT_EQ(VirtualKeyByName("esc"), vk::Escape);
  EXPECT_EQ(VirtualKeyByName("Escape"), vk::Escape);
  EXPECT_EQ(VirtualKeyByName("ENTER"), vk::Return);
  EXPECT_EQ(VirtualKeyByName("f12"), 123);
  EXPECT_EQ(VirtualKeyByName("p"), 'P');
  EXPECT_EQ(VirtualKeyByName("7"), '7');
  EXPECT_EQ(DirectInputCodeByName("A"), dik::A);
  EXPECT_EQ(DirectInputCodeByName("w"), dik::W);
  EXPECT_EQ(DirectInputCodeByName("RIGHT"), dik::Right);
  EXPECT_EQ(DirectInputCodeByName("0"), 0x0B);
  EXPECT_EQ(DirectInputCodeByName("1"), 0x02);
  EXPECT_EQ(DirectInputCodeByName("F11"), 0x57);
  EXPECT_EQ(DirectInputCodeByName("SPACE"), dik::Space);
  for (const char* bad : {"", "F0", "F13", "F1x", "UPP", "AB"}) {
    EXPECT_EQ(VirtualKeyByName(bad), -1) << bad;
    EXPECT_EQ(DirectInputCodeByName(bad), -1) << bad;
  }
}

TEST(KeyNames, TypedCharacters) {
  EXPECT_EQ(VirtualKeyForChar('q'), 'Q');
  EXPECT_EQ(VirtualKeyForChar('Q'), 'Q');
  EXPECT_EQ(VirtualKeyForChar('5'), '5');
  EXPECT_EQ(VirtualKeyForChar(' '), vk::Space);
  EXPECT_EQ(VirtualKeyForChar('-'), 189);
  EXPECT_EQ(VirtualKeyForChar('!'), '1');
  EXPECT_EQ(VirtualKeyForChar('\xE9'), -1);
}

TEST(SdlKeyTables, ScancodesAsDirectInputCodes) {
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_A), dik::A);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_W), dik::W);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_UP), dik::Up);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_ESCAPE), dik::Escape);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_KP_0), 0x52);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_RCTRL), 0x9D);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_F12), 0x58);
  EXPECT_EQ(DirectInputCodeForScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(DirectInputCodeForScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
  // Every key a script can name maps the same way on the real keyboard.
  for (char c = 'A'; c <= 'Z'; ++c) {
    std::string name(1, c);
    EXPECT_EQ(DirectInputCodeForScancode(SDL_GetScancodeFromName(name.c_str())),
              DirectInputCodeByName(name))
        << name;
  }
}

TEST(SdlKeyTables, KeySymbolsAsVirtualKeys) {
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_a, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_9, SDL_SCANCODE_9), '9');
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_KP_5, SDL_SCANCODE_KP_5), 101);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE), 111);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_F12, SDL_SCANCODE_F12), 123);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_RETURN, SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), 16);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE), 222);
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_HOME, SDL_SCANCODE_HOME), 36);
  // A Cyrillic layout's symbol on the A key still counts as A.
  EXPECT_EQ(VirtualKeyForSdlKey(0x444, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(VirtualKeyForSdlKey(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
}

}  // namespace
}  // namespace platform::testing
