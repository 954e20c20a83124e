// Losing a well and starting one again.
#include "platform/keycodes.h"
#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;
constexpr PlayerSide kRight = PlayerSide::Right;
constexpr PlayerSide kLeft = PlayerSide::Left;

TEST(GameOver, OnePlayersLossOpensTheHighscoresWithTheLevelTimerStopped) {
  RulesGame t;
  t.StartGame();
  t.LoseByLockDelay(kRight);
  EXPECT_TRUE(t.right().GameOver);
  EXPECT_FALSE(t.right().Active);
  EXPECT_EQ(t.g().Screen, 3);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_EQ(t.right().Score, 0);  // the piece that lost earns nothing
}

TEST(GameOver, TwoPlayersSeeTheHighscoresOnlyAfterBothHaveLost) {
  RulesGame t({.multiplayer = true});
  t.StartGame();
  t.LoseByLockDelay(kLeft);
  EXPECT_TRUE(t.left().GameOver);
  EXPECT_TRUE(t.right().Active);
  EXPECT_EQ(t.g().Screen, 2);
  t.LoseByLockDelay(kRight);
  EXPECT_EQ(t.g().Screen, 3);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_TRUE(t.left().TimerLevel->Enabled());  // only the last loser's timer stops
}

TEST(Restart, RestartingTheLeftWellTurnsTwoPlayersOn) {
  RulesGame t;
  t.StartGame();
  t.plat().events().QueueKeyDown(platform::vk::F1 + 1);  // F2
  t.Pump(0);
  EXPECT_TRUE(t.g().settings.Multiplayer);
  EXPECT_TRUE(t.left().Active);
  const cShape& s = t.left().Shape;
  ASSERT_GE(s.ShapeType, 1);
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(s.BlockX(i), t.g().geo.LStartX);
    EXPECT_LT(s.BlockX(i), t.g().geo.LEndX);
  }
}

}  // namespace
}  // namespace brikka
