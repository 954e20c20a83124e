// The highscore screen's buttons beyond what the scenario highscores_buttons clicks (their
// edge pixels: the main menu's, as the hit test is shared).
#include "highscores_support.h"

namespace brikka {
namespace {

using testing::HighscoreGame;

void Click(frmMain& g, const cButton& b) {
  g.MouseX = static_cast<int>(b.Leftx + b.sqwidth / 2);
  g.MouseY = static_cast<int>(b.Topy + b.sqheight / 2);
  g.HighscoreButtonsClicked();
}

// The pages never leave the table and a grey page button ignores clicks; the menu button
// reads the table back; quitting ends the program even while a nickname is typed.
TEST(HighscoreButtons, PagesTurnWithinTheTableMenuRereadsItAndQuitEndsEvenWhileTyping) {
  HighscoreGame t("");
  t.StartGame();
  t.Lose(kRight, 700);
  frmMain& g = t.g();
  ASSERT_TRUE(t.right().EnteringNickname);
  for (int i = 0; i < 6; ++i) Click(g, g.hs.HsNextButton);
  EXPECT_EQ(g.HighscorePage, 4);
  Click(g, g.hs.HsBackButton);
  EXPECT_EQ(g.HighscorePage, 3);
  g.hs.HsNextButton.Grayed = true;  // as drawn while the table is unavailable
  Click(g, g.hs.HsNextButton);
  EXPECT_EQ(g.HighscorePage, 3);
  Click(g, g.hs.HsMenuButton);  // the table read back: the unnamed score is not kept
  EXPECT_EQ(t.Table(), testing::TableRows(50, {"0", "0"}));
  Click(g, g.hs.HsQuitButton);
  EXPECT_TRUE(g.Ended());
}

// Playing again keeps the switches and the wins as they are and restarts both wells; the
// table is read back from the file, so a score nobody named is not kept.
TEST(HighscoreButtons, RestartPlaysBothWellsAgainKeepingWinsAndSwitches) {
  HighscoreGame t("", {.multiplayer = true});
  t.StartGame();
  t.right().Wins = 2;
  t.left().Wins = 5;
  t.g().settings.Clockwise = -1;  // not what the settings file says
  t.Lose(kLeft, 300);
  t.Lose(kRight, 700);
  ASSERT_TRUE(t.right().EnteringNickname);
  Click(t.g(), t.g().hs.HsRestartButton);
  EXPECT_EQ(t.g().Screen, 2);
  EXPECT_TRUE(t.right().Active && t.left().Active);
  EXPECT_FALSE(t.right().EnteringNickname || t.left().EnteringNickname);
  EXPECT_EQ(t.right().Score, 0);
  EXPECT_EQ(t.right().Wins, 2);
  EXPECT_EQ(t.left().Wins, 5);
  EXPECT_EQ(t.g().settings.Clockwise, -1);
  EXPECT_EQ(t.Table(), testing::TableRows(50, {"0", "0"}));
}

}  // namespace
}  // namespace brikka
