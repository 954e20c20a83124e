// Leaving the window, in an X display of its own (focus_loss_test.sh starts one): the game
// on the real platform, started as the menu's start button starts it, loses its device when
// another X client takes the input focus, pauses both wells once, and is reset when the
// focus comes back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "game/frm_main.h"
#include "net/net_test_support.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace brikka {
namespace {

using Clock = std::chrono::steady_clock;

// The id of the first visible window whose title matches `title`, waiting for it to show.
std::string FindWindow(const std::string& title) {
  nettest::ChildProcess search(
      {"/usr/bin/xdotool", "search", "--sync", "--onlyvisible", "--name", title});
  return search.ReadLine(10000);
}

// Gives the input focus to `window` and waits until the X server has moved it.
bool Focus(const std::string& window) {
  return std::system(("/usr/bin/xdotool windowfocus --sync " + window).c_str()) == 0;
}

// Runs frame-loop passes until `done` holds or `ms` of real time have passed.
bool PassesUntil(
    frmMain& game, int ms, const std::function<bool()>& done = [] { return false; }) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    game.FramePass();
  }
  return true;
}

bool BothPausedOnce(const frmMain& g) {
  return g.RightField.Paused && !g.RightField.Active && g.LeftField.Paused && !g.LeftField.Active;
}

TEST(LeavingTheWindow, AnotherWindowTakingTheFocusPausesBothWellsAndComingBackResets) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display of its own";
  testing::TempDir data;
  std::ofstream(data.file("Data.ini")) << "[Menu]\nMultiplayer=-1\nMusic=0\n";
  auto plat = platform::MakeRealPlatform();
  plat->app_dir = BRIKKA_APP_DIR;
  plat->data_dir = data.str();
  frmMain game(*plat);
  ASSERT_TRUE(game.StartUp());
  game.StartGameFromMenu();
  ASSERT_EQ(game.Screen, 2);

  const std::string brikka = FindWindow("^Brikka$");
  ASSERT_FALSE(brikka.empty()) << "no game window";
  ASSERT_TRUE(Focus(brikka));
  const double top = game.RightField.Shape.BlockY(0);
  PassesUntil(game, 500);
  ASSERT_GT(game.RightField.Shape.BlockY(0), top) << "the right well does not fall";
  ASSERT_FALSE(game.RightField.Paused || game.LeftField.Paused);

  nettest::ChildProcess other(
      {"/usr/bin/xmessage", "-title", "elsewhere", "-geometry", "+0+0", "Another program"});
  const std::string elsewhere = FindWindow("^elsewhere$");
  ASSERT_FALSE(elsewhere.empty()) << "no second window";
  ASSERT_TRUE(Focus(elsewhere));
  ASSERT_TRUE(PassesUntil(game, 5000, [&] { return BothPausedOnce(game); }))
      << "the wells kept playing without the focus";
  // Lost for as long as the other window keeps the focus: paused once (a second pause
  // would resume), nothing falls and nothing is drawn.
  const double y = game.RightField.Shape.BlockY(0), y2 = game.LeftField.Shape.BlockY(0);
  PassesUntil(game, 500);
  EXPECT_TRUE(BothPausedOnce(game));
  EXPECT_EQ(game.RightField.Shape.BlockY(0), y);
  EXPECT_EQ(game.LeftField.Shape.BlockY(0), y2);
  EXPECT_NE(game.Device()->TestCooperativeLevel(), platform::kD3D_OK);

  ASSERT_TRUE(Focus(brikka));
  EXPECT_TRUE(PassesUntil(game, 5000, [&] {
    return game.Device()->TestCooperativeLevel() == platform::kD3D_OK;
  })) << "no reset after the focus came back";
  // Drawn again, and the wells wait for their players' pause keys.
  PassesUntil(game, 300);
  EXPECT_TRUE(BothPausedOnce(game));
  EXPECT_FALSE(game.RightField.TimerLevel->Enabled());
}

}  // namespace
}  // namespace brikka
