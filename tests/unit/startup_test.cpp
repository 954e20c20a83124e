// Start-up: the display-mode choice, the failure paths, the settings file's name and its
// turning sense, and the frame loop's lost-device pass. (Junk in the settings file: the
// fuzz target fuzz_ini and the scenario settings_bad_values.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "menu/ini.h"
#include "platform/numbers.h"
#include "render/cdirectx.h"
#include "test_support.h"

namespace brikka {
namespace {

using platform::DisplayMode;
namespace fmt = platform::d3dfmt;

// The first mode of the size in the depth asked for, 32 bits before 16; no format with
// alpha; the back buffer is scaled over the screen, so any desktop at least as large shows
// it.
TEST(CheckDisplayMode, TakesTheFirstMatchOfTheDepthWithoutAlphaOnAnyLargeEnoughDesktop) {
  struct Case {
    std::vector<DisplayMode> modes;
    int depth32, depth16;
  };
  // clang-format off
  const Case cases[] = {
      {{{640, 480, 60, fmt::X8R8G8B8}, {800, 600, 75, fmt::R5G6B5}, {800, 600, 60, fmt::R8G8B8},
        {800, 600, 85, fmt::X8R8G8B8}}, fmt::R8G8B8, fmt::R5G6B5},
      {{{1024, 768, 60, fmt::X8R8G8B8}}, fmt::X8R8G8B8, 0},
      {{{1920, 1080, 60, fmt::R5G6B5}}, 0, fmt::R5G6B5},
      {{{800, 600, 60, fmt::X8R8G8B8}}, fmt::X8R8G8B8, 0},
      {{{799, 1200, 60, fmt::X8R8G8B8}}, 0, 0},
      {{{1600, 599, 60, fmt::R5G6B5}}, 0, 0},
      {{{800, 600, 60, fmt::A8R8G8B8}, {800, 600, 60, fmt::A1R5G5B5},
        {800, 600, 60, fmt::A4R4G4B4}}, 0, 0},
      {{{800, 600, 60, fmt::A4R4G4B4}, {800, 600, 60, fmt::X4R4G4B4}}, 0, fmt::X4R4G4B4},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cdirectx::CheckDisplayMode(cases[i].modes, 800, 600, 32), cases[i].depth32);
    EXPECT_EQ(cdirectx::CheckDisplayMode(cases[i].modes, 800, 600, 16), cases[i].depth16);
  }
  EXPECT_EQ(cdirectx::CheckDisplayMode(cases[0].modes, 1024, 768, 32), 0);
}

TEST(StartUp, SixteenBitOnlyAdapterRunsInSixteenBits) {
  platform::HeadlessOptions opt;
  opt.modes = {{800, 600, 60, fmt::X1R5G5B5}};
  testing::HeadlessGame h(opt);
  ASSERT_TRUE(h.game->StartUp());
  EXPECT_EQ(h.game->dx.BackBufferFormat(), fmt::X1R5G5B5);
}

TEST(StartUp, NoUsableModeShowsBothMessagesAndEndsWithFailure) {
  platform::HeadlessOptions opt;
  opt.modes = {{640, 480, 60, fmt::X8R8G8B8}, {800, 600, 60, fmt::A8R8G8B8}};
  testing::HeadlessGame h(opt);
  EXPECT_FALSE(h.game->StartUp());
  EXPECT_TRUE(h.game->Ended());
  EXPECT_NE(h.game->ExitCode(), 0);
  std::vector<std::tuple<std::string, std::string, int>> shown;
  for (const auto& m : h.plat->dialog_box().TakeMessages())
    shown.emplace_back(m.title, m.text, m.style);
  EXPECT_EQ(shown, (decltype(shown){
                       {"Error",
                        "Your hardware does not appear to support 640x480 display modes in either "
                        "16 bit or 32 bit modes. Exiting",
                        64},
                       {"Directx Intialisation Error!", "Couldn't intialise Directx !", 16}}));
  h.game->FramePass();  // an ended program runs no more passes
  EXPECT_EQ(h.plat->vclock().GetTickCount(), platform::VirtualClock::kStart);
}

// The start button's set-up: a missing picture ends the program with its message.
TEST(StartGame, AMissingPictureEndsTheProgramWithTheSetUpMessage) {
  testing::HeadlessGame h;
  ASSERT_TRUE(h.game->StartUp());
  testing::TempDir empty;
  h.plat->app_dir = empty.str();
  h.game->IntialiseGeometry();
  EXPECT_EQ(h.game->ExitCode(), 1);
  auto msgs = h.plat->dialog_box().TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, "An Error Occured while Initialising!");
  EXPECT_EQ(msgs[0].title, "Initialisation Error!");
  EXPECT_EQ(msgs[0].style, 16);
}

// Only a quarter turn either way is kept; a hand-edited 0 would fold a piece onto one cell.
TEST(SettingsFile, ClockwiseOtherThanOneOrMinusOneReadsAsOne) {
  testing::HeadlessGame h;
  ASSERT_TRUE(h.game->StartUp());
  for (auto [text, sense] :
       {std::pair{"1", 1}, {"-1", -1}, {"0", 1}, {"2", 1}, {"-2", 1}, {"32767", 1}}) {
    IniWrite(h.game->DataIniPath(), "Menu", "Clockwise", text);
    h.game->ReadMenus();
    EXPECT_EQ(h.game->settings.Clockwise, sense) << text;
  }
}

// "data.ini" is the settings file too, and a write goes back into it; with no file at all
// the one made is "Data.ini".
TEST(SettingsFile, IsFoundWhateverTheCaseOfItsName) {
  testing::HeadlessGame h;
  EXPECT_EQ(h.game->DataIniPath(), h.data.str() + "/Data.ini");
  std::ofstream(h.data.str() + "/data.ini") << "[Menu]\nMultiplayer=-1\n";
  ASSERT_TRUE(h.game->StartUp());
  EXPECT_TRUE(h.game->settings.Multiplayer);
  IniWrite(h.game->DataIniPath(), "Menu", "Battle", "-1");
  h.game->ReadMenus();
  EXPECT_TRUE(h.game->settings.Battle);
  EXPECT_FALSE(std::filesystem::exists(h.data.str() + "/Data.ini"));
}

// A lost pass starts the frame rate's second afresh, and the next pass resets the device.
// (The tune and the pacing while lost: the scenarios lost_device_pauses and frame_rate.)
TEST(FrameLoop, ALostPassRestartsTheFrameRatesSecondAndTheNextResetsTheDevice) {
  testing::HeadlessGame h;
  ASSERT_TRUE(h.game->StartUp());
  h.game->FramePass();
  h.plat->LoseDevice();
  h.game->FramePass();
  EXPECT_EQ(h.game->FpsTick, h.plat->vclock().GetTickCount());
  h.game->FramePass();
  EXPECT_EQ(h.game->Device()->TestCooperativeLevel(), platform::kD3D_OK);
}

}  // namespace
}  // namespace brikka
