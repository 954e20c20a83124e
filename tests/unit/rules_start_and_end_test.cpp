// The start button's set-up and its failure, and two players losing one after the other
// (one player's loss: the scenario rules_single_player_loss).
#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;

TEST(StartGame, AMissingPictureEndsTheProgramWithTheSetUpMessage) {
  RulesGame t;
  ASSERT_TRUE(t.g().StartUp());
  testing::TempDir empty;
  t.plat().app_dir = empty.str();
  t.g().IntialiseGeometry();
  EXPECT_EQ(t.g().ExitCode(), 1);
  auto msgs = t.plat().dialog_box().TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, "An Error Occured while Initialising!");
  EXPECT_EQ(msgs[0].title, "Initialisation Error!");
  EXPECT_EQ(msgs[0].style, 16);
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
