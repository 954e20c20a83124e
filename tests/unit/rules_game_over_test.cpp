// Losing a well: with one player, and with two one after the other.
#include "rules_support.h"

namespace brikka {
namespace {

using testing::Cell;
using testing::RulesGame;
constexpr PlayerSide kRight = PlayerSide::Right;
constexpr PlayerSide kLeft = PlayerSide::Left;

// Column 1 stacked to the top row, a bar landing on it that reaches above the well, and
// the lock delay that settles it.
void LoseByLockDelay(RulesGame& t, PlayerSide side) {
  std::vector<Cell> column;
  for (int r = 1; r <= 20; ++r) column.push_back({1, r});
  t.SetBlocks(side, column);
  t.SetPieceCells(side, 1, {{1, 21}, {1, 22}, {1, 23}, {1, 24}});
  side == kRight ? t.g().Descend() : t.g().Descend2();
  t.Pump(300);
}

TEST(GameOver, OnePlayersLossOpensTheHighscoresWithTheLevelTimerStopped) {
  RulesGame t;
  t.StartGame();
  LoseByLockDelay(t, kRight);
  EXPECT_TRUE(t.right().GameOver);
  EXPECT_FALSE(t.right().Active);
  EXPECT_EQ(t.g().Screen, 3);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_EQ(t.right().Score, 0);  // the piece that lost earns nothing
}

TEST(GameOver, TwoPlayersSeeTheHighscoresOnlyAfterBothHaveLost) {
  RulesGame t({.multiplayer = true});
  t.StartGame();
  LoseByLockDelay(t, kLeft);
  EXPECT_TRUE(t.left().GameOver);
  EXPECT_TRUE(t.right().Active);
  EXPECT_EQ(t.g().Screen, 2);
  LoseByLockDelay(t, kRight);
  EXPECT_EQ(t.g().Screen, 3);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_TRUE(t.left().TimerLevel->Enabled());  // only the last loser's timer stops
}

}  // namespace
}  // namespace brikka
