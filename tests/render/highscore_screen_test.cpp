// The highscore screen as texts and pixels: one page of the table at its places, the page
// buttons grey exactly when they cannot be used, the typed nickname in red in its row, the
// players' red lines and the prompt, and a title font remade every frame at no cost.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/locale_numbers.h"
#include "render/text.h"
#include "render_support.h"
#include "unit/highscores_support.h"

namespace brikka::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFF7B7B7Bu;

using HighscoreScreen = HighscoreGameOn<ScreenGame>;

std::string Grouped(int64_t score) {
  return FormatNumber(score, platform::ThousandsSeparator());
}

// The text written at (x, y) as "text colour points [bold]", or "" when there is none.
std::string At(HighscoreScreen& s, int x, int y) {
  const platform::DrawnText* t = s.TextAt(x, y);
  if (!t) return "";
  std::ostringstream out;
  out << t->text << " " << std::hex << t->color << std::dec << " " << t->font.points
      << (t->font.bold ? " bold" : "");
  return out.str();
}
std::string InWhite(const std::string& text) {
  return text + " ffffffff 17";
}
std::string InRed(const std::string& text) {
  return text + " ffff0000 17";
}

TEST(HighscorePage, TenRowsOfRankNicknameAndGroupedScoreOnTheFirstAndLastPages) {
  TableRows rows = StandardRows();
  rows[0] = {"big", "99999999999"};
  rows[1] = {"word", "abc"};  // not a number: shown as stored
  rows[49] = {"minus", "-5"};
  HighscoreScreen s(FileOf(rows));
  ASSERT_TRUE(s.g().StartUp());
  for (int16_t page : {0, 4}) {
    s.g().HighscorePage = page;
    ASSERT_TRUE(s.g().HighScore_Render());
    for (int k = 1; k <= 10; ++k) {
      const int rank = 10 * page + k, y = 100 + 35 * k;
      const std::string& stored = rows[rank - 1].second;
      const std::string score = stored == "abc" ? stored : Grouped(std::stoll(stored));
      EXPECT_EQ(At(s, 50, y), InWhite(std::to_string(rank) + ")"));
      EXPECT_EQ(At(s, 100, y), InWhite(rows[rank - 1].first));
      EXPECT_EQ(At(s, 500, y), InWhite(score));
    }
    EXPECT_EQ(s.texts().size(), 1u + 30u);  // the title and the rows: nobody typing or played
  }
}

// Each page button is drawn alone in the colour the screen must give it, and the frame
// must show exactly that where the button is.
TEST(HighscoreButtonsDrawn, PageButtonsAreGreyAndGrayedExactlyWhenTheyCannotBeUsed) {
  struct {
    int16_t page;
    bool available, next_grey, back_grey;
  } const cases[] = {
      {0, true, false, true}, {2, true, false, false}, {4, true, true, false},
      {2, false, true, true}, {0, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "page " << c.page << (c.available ? "" : " unavailable"));
    HighscoreScreen s("");
    s.StartGame();
    s.Lose(kRight, 0);
    s.g().HighscorePage = c.page;
    s.g().HighscoresAvailable = c.available;
    ASSERT_TRUE(s.g().HighScore_Render());
    platform::SurfacePtr shown(SDL_DuplicateSurface(s.frame()));
    EXPECT_EQ(s.g().hs.HsNextButton.Grayed, c.next_grey);
    EXPECT_EQ(s.g().hs.HsBackButton.Grayed, c.back_grey);
    const std::pair<cButton*, uint32_t> buttons[] = {
        {&s.g().hs.HsNextButton, c.next_grey ? kGrey : kWhite},
        {&s.g().hs.HsBackButton, c.back_grey ? kGrey : kWhite},
        {&s.g().hs.HsMenuButton, 0},
    };
    for (auto [button, colour] : buttons) {
      cButton copy = *button;
      const auto want = s.OpaquePixels([&](platform::Device* d) { copy.draw(false, colour, d); });
      EXPECT_GT(want.size(), 3000u);
      EXPECT_EQ(ScreenGame::Wrong(shown.get(), want), 0) << "button at " << button->Leftx;
    }
  }
}

// Player 1 typing at rank 3 of page 0 with a five-digit score: the row shows the typed text
// in red and the player's grouped score, never the entry stored there; the player's line
// shows the score ungrouped.
TEST(HighscoreTyping, TheTypistsRowThePlayersLinesAndThePrompt) {
  TableRows rows = StandardRows();
  rows[0].second = "99000";
  rows[1].second = "98000";
  HighscoreScreen s(FileOf(rows), {.multiplayer = true});
  s.StartGame();
  s.Lose(kLeft, 500);
  s.Lose(kRight, 12345);
  ASSERT_EQ(s.right().HighscoreRank, 3);
  s.Type("\bQ");
  ASSERT_TRUE(s.g().HighScore_Render());
  EXPECT_EQ(At(s, 100, 170 + 35), InRed("Player Q"));
  EXPECT_EQ(At(s, 500, 170 + 35), InWhite(Grouped(12345)));
  EXPECT_EQ(At(s, 50, 170 + 35), InWhite("3)"));
  EXPECT_EQ(At(s, 420, 100), InRed("Player 1: 12345"));
  EXPECT_EQ(At(s, 20, 100), InRed("Player 2: 500"));
  EXPECT_EQ(At(s, 250, 470), InRed("Type your nickname then press Enter"));
  // What the table holds at rank 3 until the name is entered is not shown.
  for (const platform::DrawnText& t : s.texts()) EXPECT_NE(t.text, "Player 1");

  // Player 2's turn, on its own page; then nobody types and the prompt goes.
  s.Enter();
  ASSERT_TRUE(s.left().EnteringNickname);
  ASSERT_TRUE(s.g().HighScore_Render());
  const int row = (s.left().HighscoreRank - 1) % 10 + 1;
  EXPECT_EQ(s.g().HighscorePage, (s.left().HighscoreRank - 1) / 10);
  EXPECT_EQ(At(s, 100, 100 + 35 * row), InRed("Player 2"));
  EXPECT_EQ(At(s, 500, 100 + 35 * row), InWhite("500"));
  s.Enter();
  ASSERT_TRUE(s.g().HighScore_Render());
  EXPECT_EQ(At(s, 250, 470), "");
  EXPECT_EQ(At(s, 420, 100), InRed("Player 1: 12345"));  // the lines stay after typing
}

TEST(HighscoreTyping, OpenedFromTheMenuNoPlayerLineIsEverDrawnAgain) {
  HighscoreScreen s("");
  s.StartGame();
  s.Lose(kRight, 700);
  s.g().Screen = 1;
  s.g().OpenHighscoresFromMenu();
  ASSERT_TRUE(s.g().HighScore_Render());
  EXPECT_EQ(At(s, 420, 100), "");
  s.g().StartGameFromMenu();
  s.Lose(kRight, 900);  // a later game's loss, its player typing
  ASSERT_TRUE(s.right().EnteringNickname);
  ASSERT_TRUE(s.g().HighScore_Render());
  EXPECT_EQ(At(s, 420, 100), "");
  EXPECT_EQ(At(s, 100, 135), InRed("Player 1"));
}

// The title is written at 48 points bold, and the same font object ends the frame back at
// 17 points regular for the nickname column; remaking it every frame opens no font file and
// rasterises nothing new once the screen is steady.
TEST(HighscoreTitle, RemadeEachFrameAtNoCost) {
  HighscoreScreen s("");
  s.StartGame();
  s.Lose(kRight, 700);
  ASSERT_TRUE(s.g().HighScore_Render());
  EXPECT_EQ(At(s, 230, 0), "Highscores ffffffff 48 bold");
  EXPECT_EQ(s.g().fonts.HsTitleText.Size(), 17);
  EXPECT_FALSE(s.g().fonts.HsTitleText.Bold());
  const platform::TextStats before = s.device().TextStatistics();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(s.g().HighScore_Render());
  const platform::TextStats after = s.device().TextStatistics();
  EXPECT_EQ(std::tie(after.fonts_opened, after.strings_rasterised),
            std::tie(before.fonts_opened, before.strings_rasterised));
}

}  // namespace
}  // namespace brikka::testing
