// The play screen as pixels and texts: settled blocks in their colours at their cells seen
// through the overlay, the panels, the game-state words exactly under their conditions, and
// fonts that stay made from frame to frame and across a lost device.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/locale_numbers.h"
#include "render_support.h"

namespace brikka::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

bool PureRed(uint32_t p) {
  return Red(p) > 200 && Green(p) < 80 && Blue(p) < 80;
}
bool Bright(uint32_t p) {
  return Red(p) > 200 && Green(p) > 200 && Blue(p) > 200;
}
// Only the block's own colour, and enough of it.
bool RedBlock(uint32_t p) {
  return Red(p) > 40 && Green(p) + Blue(p) == 0;
}
bool BlueBlock(uint32_t p) {
  return Blue(p) > 40 && Red(p) + Green(p) == 0;
}

// The pieces wait above the wells, under the overlay, out of the way of what is probed.
class PlayScreen : public ScreenGame {
 public:
  explicit PlayScreen(RulesOptions o = {}) : ScreenGame(o) { StartGame(); }
  uint32_t AtCell(PlayerSide side, int column, int row, int dx = 0, int dy = 0) {
    return PixelAt(frame(), static_cast<int>(CellX(side, column)) + dx,
                   static_cast<int>(RowY(row)) + dy);
  }
  void Blocks(PlayerSide side, const std::vector<Cell>& cells, uint32_t colour) {
    SetBlocks(side, cells);
    for (cBlock& b : g().Field(side).Blocks) b.Color = colour;
  }
};

TEST(PlayScreenBlocks, ShowInTheirColoursAtTheirCellsThroughTheOverlay) {
  PlayScreen s({.multiplayer = true});
  s.Blocks(kRight, {{3, 2}}, kRed);
  s.Blocks(kLeft, {{7, 5}}, kBlue);
  ASSERT_TRUE(s.g().Render());
  EXPECT_TRUE(RedBlock(s.AtCell(kRight, 3, 2)));
  EXPECT_TRUE(BlueBlock(s.AtCell(kLeft, 7, 5)));
  for (auto [column, row] : {std::pair{4, 2}, {2, 2}, {3, 3}, {3, 1}}) {
    EXPECT_FALSE(RedBlock(s.AtCell(kRight, column, row))) << column << "," << row;
    EXPECT_FALSE(BlueBlock(s.AtCell(kLeft, column + 4, row + 3)));
  }
  // Full wells: every cell shows its block at its centre and just inside its corners.
  s.Blocks(kRight, RulesGame::Rows(1, 20), kRed);
  s.Blocks(kLeft, RulesGame::Rows(1, 20), kBlue);
  ASSERT_TRUE(s.g().Render());
  int hidden = 0;
  for (int row = 1; row <= 20; ++row)
    for (int column = 1; column <= 10; ++column)
      for (auto [dx, dy] : {std::pair{0, 0}, {-9, -9}, {8, -9}, {-9, 8}, {8, 8}}) {
        hidden += RedBlock(s.AtCell(kRight, column, row, dx, dy)) ? 0 : 1;
        hidden += BlueBlock(s.AtCell(kLeft, column, row, dx, dy)) ? 0 : 1;
      }
  EXPECT_EQ(hidden, 0);
  // Outside the wells the overlay lies over the blocks.
  s.Blocks(kRight, {{12, 8}}, kRed);
  ASSERT_TRUE(s.g().Render());
  EXPECT_FALSE(RedBlock(s.AtCell(kRight, 12, 8)));
}

// The game-state words of both wells by battle, losses and pauses: the red texts of the
// frame in order, and red pixels in each well's word area exactly when it has words.
struct StateCase {
  const char* name;
  bool battle, right_over, left_over, right_paused, left_paused;
  const char* words;  // joined by '|'
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
  std::string words;
  bool right_words = false, left_words = false;
  for (const auto& t : s.texts()) {
    if (t.color != kRed) continue;
    EXPECT_TRUE(t.font.bold && t.font.points == 17) << t.text;
    words += (words.empty() ? "" : "|") + t.text;
    (t.left >= 450 ? right_words : left_words) = true;
  }
  EXPECT_EQ(words, c.words);
  EXPECT_EQ(s.Count(460, 200, 650, 264, PureRed) > 30, right_words);
  EXPECT_EQ(s.Count(55, 200, 250, 264, PureRed) > 30, left_words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayScreenWords,
    ::testing::Values(
        StateCase{"Playing", false, false, false, false, false, ""},
        StateCase{"RightLost", false, true, false, false, false, "Game Over|F1 to Restart"},
        StateCase{"LeftLost", false, false, true, false, false, "Game Over|F2 to Restart"},
        StateCase{"BattleRightLost", true, true, false, false, false,
                  "Looser|F3 to Restart|Winner|F3 to Restart"},
        StateCase{"BattleLeftLost", true, false, true, false, false,
                  "Winner|F3 to Restart|Looser|F3 to Restart"},
        StateCase{"BattleBothLostHasNoWinner", true, true, true, false, false,
                  "Looser|F3 to Restart|Looser|F3 to Restart"},
        StateCase{"RightPaused", false, false, false, true, false, "Paused"},
        StateCase{"LeftPaused", false, false, false, false, true, "Paused"},
        StateCase{"BothPaused", true, false, false, true, true, "Paused|Paused"}),
    [](const auto& info) { return std::string(info.param.name); });

// One player: the left panel shows its starting values whatever the idle well's counters
// hold, and keeps "Score" in battle while the right panel shows "Wins"; the hints name the
// restart key of the mode. The texts are drawn where they are written.
TEST(PlayScreenPanels, OnePlayerLeftPanelIsFixedAndHintsFollowTheMode) {
  for (bool battle : {false, true}) {
    PlayScreen s({.battle = battle});
    s.left().Score = 4321;
    s.left().Level = 7;
    s.left().Lines = 12;
    s.right().Wins = 3;
    ASSERT_TRUE(s.g().Render());
    for (auto [y, text] : {std::pair{340, "0"}, {400, "1"}, {460, "0"}}) {
      const platform::DrawnText* t = s.TextAt(275, y);
      ASSERT_NE(t, nullptr) << y;
      EXPECT_EQ(t->text, text);
      EXPECT_GT(s.Count(t->left, t->top, t->right, t->bottom, Bright), 5) << y;
    }
    EXPECT_EQ(s.TextAt(265, 310)->text, "Score");
    EXPECT_EQ(s.TextAt(665, 310)->text, battle ? "Wins" : "Score");
    EXPECT_EQ(s.TextAt(675, 340)->text, battle ? "3" : "0");
    EXPECT_EQ(s.TextAt(450, 570)->text,
              battle ? "'F3' to Restart,'P' to Pause" : "'F1' to Restart,'P' to Pause");
    EXPECT_EQ(s.TextAt(50, 570)->text,
              battle ? "'F3' to Restart,'T' to Pause" : "'F2' to Restart,'T' to Pause");
    EXPECT_GT(s.Count(50, 570, 250, 594, Bright), 30);
    EXPECT_EQ(s.g().fonts.HsRowText.Size(), 17);  // the hints' font goes back to 17
  }
}

TEST(PlayScreenPanels, TwoPlayersShowTheirOwnCountersTheScoreGroupedTheLabelsCentred) {
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
  // "Score" is centred in its estimated rectangle 665..792, not around 665.
  int min_x = 800, max_x = 0;
  for (int y = 310; y < 344; ++y)
    for (int x = 665; x < 792; ++x)
      if (Bright(PixelAt(s.frame(), x, y))) min_x = std::min(min_x, x), max_x = std::max(max_x, x);
  EXPECT_GT(min_x, 665 + 20);
  EXPECT_NEAR(min_x - 665, 791 - max_x, 3);
}

// A lost device drops the fonts and makes them again from what each kept; once it is back
// every text is written again without opening a font file. (That steady frames open no
// font and rasterise nothing again is the screens_play_texts scenario's.)
TEST(PlayScreenFonts, ALostDeviceDropsAndRemakesTheFonts) {
  PlayScreen s;
  s.Frames(1);
  std::vector<std::string> before, after;
  for (const auto& t : s.texts()) before.push_back(t.text);
  const uint64_t opened = s.device().TextStatistics().fonts_opened;
  s.plat().LoseDevice();
  s.Frames(1);
  s.g().DestroyFonts();
  EXPECT_FALSE(s.g().fonts.PlayTextA.Loaded());
  s.g().Render();  // no crash; only the hints, whose font the frame makes itself, are written
  EXPECT_EQ(s.texts().size(), 2u);
  s.Frames(3);  // reset, then drawing again
  for (cText* t : s.g().fonts.All())
    EXPECT_TRUE(t->Loaded() && t->Name() == "Comic Sans MS" && t->Size() == 17);
  EXPECT_TRUE(s.g().fonts.PlayTextBold.Bold());
  for (const auto& t : s.texts()) after.push_back(t.text);
  for (const std::string& text : before)
    EXPECT_NE(std::find(after.begin(), after.end(), text), after.end()) << text;
  EXPECT_EQ(s.device().TextStatistics().fonts_opened, opened);
}

}  // namespace
}  // namespace brikka::testing
