// The keyboard: Escape on each screen, turning against a wall, pausing, soft drop.
#include "platform/keycodes.h"
#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;
namespace vk = platform::vk;
namespace dik = platform::dik;
constexpr PlayerSide kRight = PlayerSide::Right;

TEST(Keys, EscapeOnThePlayScreenLeavesTheWellsRunningBehindTheMenu) {
  RulesGame t;
  t.StartGame();
  t.plat().events().QueueKeyDown(vk::Escape);
  t.Frames(1);
  ASSERT_EQ(t.g().Screen, 1);
  EXPECT_TRUE(t.right().Active);
  EXPECT_TRUE(t.right().TimerLevel->Enabled());
  const double x = t.right().Shape.BlockX(0), y = t.right().Shape.BlockY(0);
  t.plat().keys().Hold(dik::Left);
  t.Frames(4);                              // about 100 ms: at least two polls
  EXPECT_EQ(t.right().Shape.BlockY(0), y);  // nothing falls on the menu
  EXPECT_LE(t.right().Shape.BlockX(0), x - 40);
  t.plat().events().QueueKeyDown(vk::Escape);
  t.Frames(1);
  EXPECT_TRUE(t.g().Ended());  // Escape on the menu ends the program
}

// An upright bar against the right wall cannot lie down: the turn is refused as a whole,
// with no nudge away from the wall; two columns further in it can.
TEST(Keys, ATurnIntoTheWallIsRefusedWhole) {
  RulesGame t;
  t.StartGame();
  t.SetPiece(kRight, 1, 550, 300);
  t.right().Shape.Rotated = false;
  t.right().Shape.RotateME(1);
  t.right().Shape.AmountTranslation(100, 0);  // column 10
  const double x = t.right().Shape.BlockX(0), y = t.right().Shape.BlockY(0);
  t.g().Form_KeyDown(vk::Up, 0);
  EXPECT_EQ(t.right().Shape.BlockX(0), x);
  EXPECT_EQ(t.right().Shape.BlockY(0), y);
  EXPECT_TRUE(t.right().Shape.Rotated);
  EXPECT_TRUE(t.Sounds().empty());
  t.right().Shape.AmountTranslation(-40, 0);
  t.g().Form_KeyDown(vk::Up, 0);
  EXPECT_FALSE(t.right().Shape.Rotated);
  EXPECT_EQ(t.Sounds(), std::vector<std::string>{"rot"});
}

TEST(Keys, SoftDropFallsAt625PixelsASecondAndReleaseRestoresTheBonus) {
  RulesGame t;
  t.StartGame();
  t.right().Speed = 200;
  t.plat().keys().Hold(dik::Down);
  t.Pump(45);
  t.Pump(45);
  EXPECT_EQ(t.right().Speed + t.right().SpeedBonus, 625);
  t.SetPiece(kRight, 2, 550, 200);
  t.g().Descend();
  EXPECT_EQ(t.right().Shape.BlockY(3), 190 + 25);
  t.plat().keys().Release(dik::Down);
  t.Pump(45);
  t.Pump(45);
  EXPECT_EQ(t.right().SpeedBonus, 0);
}

}  // namespace
}  // namespace brikka
