// The play screen as pixels and texts: settled blocks in their colours at their cells, the
// overlay open over both wells, the panels, the game-state words exactly under their
// conditions, the key hints, and fonts that stay made from frame to frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "platform/locale_numbers.h"
#include "screen_support.h"

namespace brikka::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u;

bool PureRed(uint32_t p) {
  return Red(p) > 200 && Green(p) < 80 && Blue(p) < 80;
}
bool Bright(uint32_t p) {
  return Red(p) > 200 && Green(p) > 200 && Blue(p) > 200;
}

class PlayScreen : public ScreenGame {
 public:
  explicit PlayScreen(RulesOptions o = {}) : ScreenGame(o) {
    StartGame();
    // The pieces wait above the wells, under the overlay, out of the way of what is probed.
  }
  // A cell's centre on the screen.
  int CellCentreX(PlayerSide side, int column) { return static_cast<int>(CellX(side, column)); }
  int CellCentreY(int row) { return static_cast<int>(RowY(row)); }
  void Fill(PlayerSide side, uint32_t colour) {
    SetBlocks(side, Rows(1, 20));
    for (cBlock& b : g().Field(side).Blocks) b.Color = colour;
  }
};

TEST(PlayScreenBlocks, ASettledBlockIsDrawnInItsColourAtItsCell) {
  PlayScreen s({.multiplayer = true});
  s.SetBlocks(PlayerSide::Right, {{3, 2}});
  s.right().Blocks[0].Color = kRed;
  s.SetBlocks(PlayerSide::Left, {{7, 5}});
  s.left().Blocks[0].Color = 0xFF0000FFu;
  ASSERT_TRUE(s.g().Render());
  const uint32_t right = PixelAt(s.frame(), s.CellCentreX(PlayerSide::Right, 3), s.CellCentreY(2));
  EXPECT_GT(Red(right), 100);
  EXPECT_EQ(Green(right) + Blue(right), 0);
  const uint32_t left = PixelAt(s.frame(), s.CellCentreX(PlayerSide::Left, 7), s.CellCentreY(5));
  EXPECT_GT(Blue(left), 100);
  EXPECT_EQ(Red(left) + Green(left), 0);
  // The neighbouring cells show the empty well.
  for (auto [side, column, row] : {std::tuple{PlayerSide::Right, 4, 2},
                                   {PlayerSide::Right, 3, 3},
                                   {PlayerSide::Left, 6, 5},
                                   {PlayerSide::Left, 7, 4}}) {
    const uint32_t p = PixelAt(s.frame(), s.CellCentreX(side, column), s.CellCentreY(row));
    EXPECT_LT(Red(p) + Green(p), 80) << column << "," << row;
  }
}

TEST(PlayScreenBlocks, TheOverlayIsTransparentOverEveryCellOfBothWells) {
  PlayScreen s({.multiplayer = true});
  s.Fill(PlayerSide::Right, kRed);
  s.Fill(PlayerSide::Left, 0xFF00FF00u);
  ASSERT_TRUE(s.g().Render());
  int covered = 0;
  for (PlayerSide side : {PlayerSide::Right, PlayerSide::Left}) {
    const bool right = side == PlayerSide::Right;
    for (int row = 1; row <= 20; ++row) {
      for (int column = 1; column <= 10; ++column) {
        // The centre and the four pixels just inside the cell's corners.
        const int cx = s.CellCentreX(side, column), cy = s.CellCentreY(row);
        for (auto [dx, dy] : {std::pair{0, 0}, {-9, -9}, {8, -9}, {-9, 8}, {8, 8}}) {
          const uint32_t p = PixelAt(s.frame(), cx + dx, cy + dy);
          const int own = right ? Red(p) : Green(p),
                    others = right ? Green(p) + Blue(p) : Red(p) + Blue(p);
          if (own < 40 || others != 0) ++covered;
        }
      }
    }
  }
  EXPECT_EQ(covered, 0);
  // Outside the wells the overlay is drawn over the blocks: a block put on the panel hides.
  s.SetBlocks(PlayerSide::Right, {{12, 10}});
  s.right().Blocks[0].Color = kRed;
  ASSERT_TRUE(s.g().Render());
  EXPECT_FALSE(
      PureRed(PixelAt(s.frame(), s.CellCentreX(PlayerSide::Right, 12), s.CellCentreY(10))));
}

// The game-state words of both wells by battle, losses and pauses, read from the frame's
// texts and probed as red pixels in each well's word area.
struct StateCase {
  const char* name;
  bool battle, right_over, left_over, right_paused, left_paused;
  std::vector<std::string> words;  // in drawing order
};

void PrintTo(const StateCase& c, std::ostream* os) {
  *os << c.name;
}

class PlayScreenWords : public ::testing::TestWithParam<StateCase> {};

TEST_P(PlayScreenWords, AppearExactlyUnderTheirConditions) {
  const StateCase& c = GetParam();
  PlayScreen s({.multiplayer = true, .battle = c.battle});
  s.right().GameOver = c.right_over;
  s.left().GameOver = c.left_over;
  s.right().Paused = c.right_paused;
  s.left().Paused = c.left_paused;
  ASSERT_TRUE(s.g().Render());
  std::vector<std::string> words;
  bool right_words = false, left_words = false;
  for (const auto& t : s.texts()) {
    if (t.color != kRed) continue;
    EXPECT_TRUE(t.font.bold) << t.text;
    EXPECT_EQ(t.font.points, 17) << t.text;
    words.push_back(t.text);
    (t.left >= 450 ? right_words : left_words) = true;
  }
  EXPECT_EQ(words, c.words);
  EXPECT_EQ(s.Count(460, 200, 650, 264, PureRed) > 30, right_words);
  EXPECT_EQ(s.Count(55, 200, 250, 264, PureRed) > 30, left_words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayScreenWords,
    ::testing::Values(
        StateCase{"Playing", false, false, false, false, false, {}},
        StateCase{"RightLost", false, true, false, false, false, {"Game Over", "F1 to Restart"}},
        StateCase{"LeftLost", false, false, true, false, false, {"Game Over", "F2 to Restart"}},
        StateCase{"BothLost",
                  false,
                  true,
                  true,
                  false,
                  false,
                  {"Game Over", "F1 to Restart", "Game Over", "F2 to Restart"}},
        StateCase{"BattleRightLost",
                  true,
                  true,
                  false,
                  false,
                  false,
                  {"Looser", "F3 to Restart", "Winner", "F3 to Restart"}},
        StateCase{"BattleLeftLost",
                  true,
                  false,
                  true,
                  false,
                  false,
                  {"Winner", "F3 to Restart", "Looser", "F3 to Restart"}},
        StateCase{"BattleBothLostHasNoWinner",
                  true,
                  true,
                  true,
                  false,
                  false,
                  {"Looser", "F3 to Restart", "Looser", "F3 to Restart"}},
        StateCase{"RightPaused", false, false, false, true, false, {"Paused"}},
        StateCase{"BothPausedLeftFirst", true, false, false, true, true, {"Paused", "Paused"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayScreenWords, PausedSitsOverItsOwnWell) {
  PlayScreen s({.multiplayer = true});
  s.left().Paused = true;
  ASSERT_TRUE(s.g().Render());
  ASSERT_NE(s.TextAt(105, 200), nullptr);
  EXPECT_EQ(s.TextAt(105, 200)->text, "Paused");
  EXPECT_EQ(s.TextAt(505, 200), nullptr);
  EXPECT_GT(s.Count(105, 200, 250, 234, PureRed), 30);
  EXPECT_EQ(s.Count(460, 200, 650, 264, PureRed), 0);
}

// One player: the left panel shows its starting values whatever the idle well's counters
// hold, and keeps "Score" in battle while the right panel shows "Wins".
TEST(PlayScreenPanels, TheLeftPanelShowsFixedValuesWithOnePlayer) {
  for (bool battle : {false, true}) {
    PlayScreen s({.battle = battle});
    s.left().Score = 4321;
    s.left().Level = 7;
    s.left().Lines = 12;
    s.right().Wins = 3;
    ASSERT_TRUE(s.g().Render());
    const std::pair<int, const char*> left[] = {{310, "Score"}, {340, "0"},     {370, "Level"},
                                                {400, "1"},     {430, "Lines"}, {460, "0"}};
    for (auto [y, text] : left) {
      const int x = y % 60 == 10 ? 265 : 275;
      ASSERT_NE(s.TextAt(x, y), nullptr) << y;
      EXPECT_EQ(s.TextAt(x, y)->text, text);
      EXPECT_EQ(s.TextAt(x, y)->color, kWhite);
      const auto& r = *s.TextAt(x, y);
      EXPECT_GT(s.Count(r.left, r.top, std::min(r.right, 390), r.bottom, Bright), 5) << text;
    }
    EXPECT_EQ(s.TextAt(665, 310)->text, battle ? "Wins" : "Score");
    EXPECT_EQ(s.TextAt(675, 340)->text, battle ? "3" : "0");
  }
}

TEST(PlayScreenPanels, TwoPlayersShowTheirOwnCountersTheScoreGrouped) {
  PlayScreen s({.multiplayer = true});
  s.right().Score = 1234567;
  s.right().Lines = 1234;
  s.left().Score = 999;
  s.left().Level = 10;
  ASSERT_TRUE(s.g().Render());
  const std::string sep = platform::ThousandsSeparator();
  EXPECT_EQ(s.TextAt(675, 340)->text, "1" + sep + "234" + sep + "567");
  EXPECT_EQ(s.TextAt(675, 460)->text, "1234");  // lines are never grouped
  EXPECT_EQ(s.TextAt(275, 340)->text, "999");
  EXPECT_EQ(s.TextAt(275, 400)->text, "10");
  // Labels are centred in their estimated rectangles, values start at their place.
  const auto* score = s.TextAt(665, 310);
  EXPECT_TRUE(score->center);
  EXPECT_EQ(score->right, 792);
  EXPECT_FALSE(s.TextAt(675, 340)->center);
}

TEST(PlayScreenHints, AreWrittenAtTwelvePointsAndTheFontGoesBackToSeventeen) {
  for (bool battle : {false, true}) {
    PlayScreen s({.multiplayer = true, .battle = battle});
    ASSERT_TRUE(s.g().Render());
    const auto* right = s.TextAt(450, 570);
    const auto* left = s.TextAt(50, 570);
    ASSERT_TRUE(right && left);
    EXPECT_EQ(right->text,
              battle ? "'F3' to Restart,'P' to Pause" : "'F1' to Restart,'P' to Pause");
    EXPECT_EQ(left->text, battle ? "'F3' to Restart,'T' to Pause" : "'F2' to Restart,'T' to Pause");
    EXPECT_EQ(right->font.points, 12);
    EXPECT_EQ(left->bottom, 594);
    EXPECT_EQ(s.g().fonts.HsRowText.Size(), 17);
    EXPECT_GT(s.Count(50, 570, 250, 594, Bright), 30);
  }
}

// The hint font is made again at two sizes every frame; neither that nor redrawing the
// same texts may open a font file or rasterise a string again.
TEST(PlayScreenFonts, SteadyFramesOpenNoFontAndRasteriseNothing) {
  PlayScreen s({.multiplayer = true, .battle = true});
  s.right().GameOver = true;
  s.left().Paused = true;
  ASSERT_TRUE(s.g().Render());
  const platform::TextStats first = s.device().TextStatistics();
  for (int i = 0; i < 20; ++i) s.g().Render();
  EXPECT_EQ(s.device().TextStatistics().fonts_opened, first.fonts_opened);
  EXPECT_EQ(s.device().TextStatistics().strings_rasterised, first.strings_rasterised);
  // A changed number is rasterised once, then kept too.
  s.right().Lines = 5;
  s.g().Render();
  s.g().Render();
  EXPECT_EQ(s.device().TextStatistics().strings_rasterised, first.strings_rasterised + 1);
}

// A lost device drops the fonts and makes them again from what each kept; the next frame
// writes every text again without opening a font file.
TEST(PlayScreenFonts, ALostDeviceDropsAndRemakesTheFonts) {
  PlayScreen s;
  s.Frames(1);
  const std::vector<std::string> before = s.Strings();
  const uint64_t opened = s.device().TextStatistics().fonts_opened;
  s.plat().LoseDevice();
  s.Frames(1);  // lost
  s.g().DestroyFonts();
  EXPECT_FALSE(s.g().fonts.PlayTextA.Loaded());
  s.g().Render();  // no crash; only the hints, whose font the frame makes itself, are written
  EXPECT_EQ(s.Strings().size(), 2u);
  s.Frames(3);  // reset, then playing again
  for (cText* t : s.g().fonts.All()) {
    EXPECT_TRUE(t->Loaded());
    EXPECT_EQ(t->Name(), "Comic Sans MS");
    EXPECT_EQ(t->Size(), 17);
  }
  EXPECT_TRUE(s.g().fonts.PlayTextBold.Bold());
  s.g().Render();
  std::vector<std::string> after = s.Strings();
  for (const std::string& text : before) {
    EXPECT_NE(std::find(after.begin(), after.end(), text), after.end()) << text;
  }
  EXPECT_EQ(s.device().TextStatistics().fonts_opened, opened);
}

}  // namespace
}  // namespace brikka::testing
