// The menu screen as pixels: every button up or down and white or grey by the switches,
// the background under everything and the cursor over everything.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "render_support.h"

namespace brikka::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFF7B7B7Bu;

struct Button {
  const char* name;
  cButton MenuPictures::*member;
};
// In the order the menu draws them.
const Button kButtons[] = {
    {"CW", &MenuPictures::MenuCWButton},
    {"CcW", &MenuPictures::MenuCcWButton},
    {"Multi", &MenuPictures::MenuMultiButton},
    {"Battle", &MenuPictures::MenuBattleButton},
    {"Music", &MenuPictures::MenuMusicButton},
    {"Sound", &MenuPictures::MenuSoundButton},
    {"LGrid", &MenuPictures::MenuLGridButton},
    {"RGrid", &MenuPictures::MenuRGridButton},
    {"Highscores", &MenuPictures::MenuHighscoresButton},
    {"Start", &MenuPictures::MenuStartButton},
    {"Quit", &MenuPictures::MenuQuitButton},
};

class MenuScreen : public ScreenGame {
 public:
  MenuScreen() { EXPECT_TRUE(g().StartUp()); }
  cButton& Get(const Button& b) { return g().menu.*(b.member); }

  // How many pixels of button i, drawn alone up or down in `colour`, the menu's frame does
  // not show as they are where no later button lies over it (or -1 for too few to tell).
  int Wrong(size_t i, bool down, uint32_t colour) {
    cButton copy = Get(kButtons[i]);  // drawn on its own without touching the game's button
    std::vector<Pixel> want =
        OpaquePixels([&](platform::Device* dev) { copy.draw(down, colour, dev); });
    std::erase_if(want, [&](const Pixel& p) {
      for (size_t later = i + 1; later < std::size(kButtons); ++later) {
        const cButton& b = Get(kButtons[later]);
        if (p.x >= b.Leftx && p.x < b.Leftx + b.sqwidth && p.y >= b.Topy &&
            p.y < b.Topy + b.sqheight)
          return true;
      }
      return false;
    });
    return want.size() < 1000 ? -1 : ScreenGame::Wrong(shown_.get(), want);
  }
  // Draws the menu and keeps a copy of its frame (the references reuse the device).
  void Draw() {
    ASSERT_TRUE(g().Menu_Render());
    shown_.reset(SDL_DuplicateSurface(frame()));
  }

 private:
  platform::SurfacePtr shown_;
};

struct MenuCase {
  const char* name;
  int16_t clockwise;
  bool multiplayer, battle, music, sfx, lgrid, rgrid, highscores;
  std::set<std::string> down, grey;
};

void PrintTo(const MenuCase& c, std::ostream* os) {
  *os << c.name;
}

class MenuButtons : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuButtons, ShowTheSwitchesUpOrDownWhiteOrGrey) {
  const MenuCase& c = GetParam();
  MenuScreen s;
  frmMain& g = s.g();
  g.settings = {c.clockwise, c.multiplayer, c.music, c.sfx, c.battle};
  g.LeftField.ShowGrid = c.lgrid;
  g.RightField.ShowGrid = c.rgrid;
  g.HighscoresAvailable = c.highscores;
  s.Draw();
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    const std::string name = kButtons[i].name;
    const bool grey = c.grey.count(name) > 0;
    EXPECT_EQ(s.Wrong(i, c.down.count(name) > 0, grey ? kGrey : kWhite), 0) << name;
    EXPECT_EQ(s.Get(kButtons[i]).Grayed, grey) << name;
  }
}

// Every switch both ways; battle shows down though grey while one player plays, and only a
// sense of exactly 1 shows clockwise.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, MenuButtons,
    ::testing::Values(
        MenuCase{"OnePlayerBattleOn", 1, false, true, false, false, false, false, true,
                 {"CW", "Battle"}, {"Battle"}},
        MenuCase{"AllOnOddSenseNoHighscores", 5, true, true, true, true, true, true, false,
                 {"CcW", "Multi", "Battle", "Music", "Sound", "LGrid", "RGrid"}, {"Highscores"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(MenuScreenOrder, TheBackgroundIsUnderEverythingAndTheCursorOverEverything) {
  MenuScreen s;
  s.g().Cursor.setdimOnly(420, 470);  // over the start button
  s.Draw();
  platform::SurfacePtr shown(SDL_DuplicateSurface(s.frame()));
  cTLSquare cursor = s.g().Cursor, background = s.g().hs.HsBackground;
  const std::vector<Pixel> arrow = s.OpaquePixels([&](platform::Device* d) { cursor.draw(0, d); });
  ASSERT_GT(arrow.size(), 100u);
  EXPECT_EQ(ScreenGame::Wrong(shown.get(), arrow), 0);
  // Where no picture lies (outside the title and the buttons), the background shows as it is.
  std::vector<Pixel> back = s.OpaquePixels([&](platform::Device* d) { background.draw(0, d); });
  std::erase_if(back, [](const Pixel& p) { return p.x >= 150 && p.x < 650 && p.y < 510; });
  EXPECT_GT(back.size(), 200000u);
  EXPECT_EQ(ScreenGame::Wrong(shown.get(), back), 0);
}

}  // namespace
}  // namespace brikka::testing
