// The main menu's buttons: the strict hit test, each switch and what it writes to the
// settings file, the screens a click leads to (the highscores: the scenario
// highscores_buttons), and the music switch reloading the effects, a broken one too.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "menu/ini.h"
#include "menu_support.h"

namespace brikka {
namespace {

using testing::MenuGame;
using Lines = std::vector<std::string>;

// The switches a click can change, as the game holds them.
struct Switches {
  int16_t clockwise = 1;
  bool multi = false, battle = false, music = true, sfx = true, rgrid = false, lgrid = false;
  auto Tie() const { return std::tie(clockwise, multi, battle, music, sfx, rgrid, lgrid); }
};
auto Tie(frmMain& g) {
  return std::tie(g.settings.Clockwise, g.settings.Multiplayer, g.settings.Battle, g.settings.Music,
                  g.settings.SFX, g.RightField.ShowGrid, g.LeftField.ShowGrid);
}

struct SwitchCase {
  const char* name;
  Switches before;
  int32_t x, y;
  Switches after;
  Lines written;  // the settings file afterwards (it does not exist before)
};

const Switches kDefaults{}, kCcw{.clockwise = -1}, kTwo{.multi = true},
    kBattle{.multi = true, .battle = true}, kNoMusic{.music = false};

const SwitchCase kSwitchCases[] = {
    // Border pixels never count: nothing changes and nothing is written.
    {"ClockwiseLeftEdge", kDefaults, 360, 120, kDefaults, {}},
    {"ClockwiseTopEdge", kDefaults, 380, 100, kDefaults, {}},
    {"ClockwiseBottomEdge", kDefaults, 380, 145, kDefaults, {}},
    {"CounterClockwiseRightEdge", kDefaults, 445, 120, kDefaults, {}},
    {"MultiplayerLeftEdge", kDefaults, 250, 190, kDefaults, {}},
    {"StartLeftEdgeIsQuitRightEdge", kDefaults, 400, 480, kDefaults, {}},
    {"StartBottomEdge", kDefaults, 475, 505, kDefaults, {}},
    // The rotation buttons, and the strip where they overlap.
    {"CounterClockwise", kDefaults, 420, 120, kCcw, {"Clockwise=-1"}},
    {"Clockwise", kCcw, 380, 120, kDefaults, {"Clockwise=1"}},
    {"OverlapTurnsTwice", kDefaults, 402, 120, kDefaults, {"Clockwise=1"}},
    // Players and battle.
    {"MultiplayerOn", kDefaults, 300, 190, kTwo, {"Multiplayer=-1"}},
    {"MultiplayerOffEndsBattle", kBattle, 300, 190, kDefaults, {"Battle=0", "Multiplayer=0"}},
    {"BattleWithOnePlayer", kDefaults, 450, 190, kDefaults, {}},
    {"BattleWithTwoPlayers", kTwo, 450, 190, kBattle, {"Battle=-1"}},
    // Sound, music and grids.
    {"SoundOff", kDefaults, 450, 260, {.sfx = false}, {"SFX=0"}},
    {"MusicOff", kDefaults, 300, 260, kNoMusic, {"Music=0"}},
    {"MusicOn", kNoMusic, 300, 260, kDefaults, {"Music=-1"}},
    {"RightGrid", kDefaults, 450, 330, {.rgrid = true}, {"rgrid=-1"}},
    {"LeftGrid", {.lgrid = true}, 300, 330, kDefaults, {"lgrid=0"}},
};

class SwitchClicks : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchClicks, ChangeTheirSwitchAndWriteItAtOnce) {
  const SwitchCase& c = GetParam();
  MenuGame m;
  m.StartUp();
  Tie(m.g()) = c.before.Tie();
  m.ClickAt(c.x, c.y);
  EXPECT_EQ(Tie(m.g()), c.after.Tie());
  EXPECT_EQ(m.IniLines(), c.written);
  EXPECT_EQ(m.g().Screen, 1);
  EXPECT_FALSE(m.g().Ended());
}

INSTANTIATE_TEST_SUITE_P(MainMenu, SwitchClicks, ::testing::ValuesIn(kSwitchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainMenu, QuitEndsTheProgramAtOnce) {
  MenuGame m;
  m.StartUp();
  m.ClickAt(300, 480);
  EXPECT_TRUE(m.g().Ended());
  EXPECT_EQ(m.g().ExitCode(), 0);
  EXPECT_FALSE(m.g().MouseArmed);  // the release after it is never read
}

TEST(MainMenu, StartPlaysWithTheStoredSwitchesAndKeepsTheCursor) {
  MenuGame m;
  IniWrite(m.g().DataIniPath(), "Menu", "Multiplayer", "-1");
  m.StartUp();
  m.g().settings.Multiplayer = false;  // only what is stored counts
  m.ClickAt(475, 480);
  EXPECT_EQ(m.g().Screen, 2);
  EXPECT_TRUE(m.g().LeftField.Active);
  EXPECT_TRUE(m.g().RightField.Active);
  // The cursor, made afresh for the game, is still drawn where the click lands.
  EXPECT_EQ(m.g().Cursor.Vertices()[0].X, 475);
  EXPECT_EQ(m.g().Cursor.Vertices()[0].Y, 480);
}

// Music back on loads the effects afresh (the tune starting again: the scenario menu_mouse).
TEST(MenuSound, MusicBackOnReloadsTheEffects) {
  MenuGame m;
  m.StartUp();
  const platform::SoundBuffer* first = m.g().sounds.RotateSound.get();
  m.ClickAt(300, 260);
  m.ClickAt(300, 260);
  EXPECT_NE(m.g().sounds.RotateSound.get(), first);
}

// A broken sound file costs the effects, not the program nor the tune.
TEST(MenuSound, MusicOnWithAnUnreadableEffectStillPlaysTheTune) {
  testing::TempDir app;
  namespace fs = std::filesystem;
  const fs::path assets(BRIKKA_APP_DIR);
  fs::create_directory_symlink(assets / "Texs", app.path() / "Texs");
  fs::create_symlink(assets / "bck.mid", app.path() / "bck.mid");
  fs::create_directory(app.path() / "Sounds");
  fs::create_symlink(assets / "Sounds" / "coll.wav", app.path() / "Sounds" / "coll.wav");
  platform::HeadlessOptions opt;
  opt.app_dir = app.str();
  MenuGame m(opt);
  IniWrite(m.g().DataIniPath(), "Menu", "SFX", "0");
  IniWrite(m.g().DataIniPath(), "Menu", "Music", "0");
  m.StartUp();
  m.ClickAt(300, 260);
  EXPECT_FALSE(m.g().Ended());
  EXPECT_TRUE(m.g().settings.Music);
  EXPECT_EQ(m.plat().tune().state(), platform::MusicPlayer::kPlaying);
}

}  // namespace
}  // namespace brikka
