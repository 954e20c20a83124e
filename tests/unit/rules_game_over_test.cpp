// Losing a well: with one player, and with two one after the other.
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

}  // namespace
}  // namespace brikka
