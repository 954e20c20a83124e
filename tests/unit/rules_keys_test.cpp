// The keyboard: each player's keys on their own well, turns refused whole, pausing and the
// level timer, the restart keys by mode, and soft drop. Key codes are written as numbers:
// a wrong entry in the code tables must not pass. (Escape: the scenarios escape_on_menu and
// rules_escape_keeps_playing.)
#include "platform/keycodes.h"
#include "rules_support.h"

namespace brikka {
namespace {

using testing::Cell;
using testing::Centres;
using testing::CentresOf;
using testing::RulesGame;

// Polled keys by their DirectInput codes, held for one 45 ms poll; key-downs by their
// virtual-key codes. In a two-player game each moves, turns or drops its own piece only;
// with one player the left keys do nothing at all. Soft drop falls at 625 px/s whatever the
// speed, and the key released puts the bonus back.
TEST(Keys, EachPlayersKeysActOnTheirOwnPieceOnly) {
  struct {
    const char* key;
    bool polled;
    int code;
    PlayerSide side;
    double dx;
    bool turns, drops;
  } rows[] = {
      {"Right", true, 205, kRight, 20, false, false},
      {"Left", true, 203, kRight, -20, false, false},
      {"Down", true, 208, kRight, 0, false, true},
      {"Up", false, 38, kRight, 0, true, false},
      {"D", true, 32, kLeft, 20, false, false},
      {"A", true, 30, kLeft, -20, false, false},
      {"S", true, 31, kLeft, 0, false, true},
      {"W", false, 87, kLeft, 0, true, false},
  };
  for (bool two_players : {true, false}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(::testing::Message() << row.key << (two_players ? ", two players" : ""));
      RulesGame t({.multiplayer = two_players});
      t.StartGame();
      t.SetPiece(kRight, 7, 550, 300);
      t.SetPiece(kLeft, 7, 150, 300);
      t.right().Speed = t.left().Speed = 200;
      const Centres right = CentresOf(t.right().Shape), left = CentresOf(t.left().Shape);
      cShape expected = t.g().Field(row.side).Shape;
      if (row.turns) expected.RotateME(1);
      expected.AmountTranslation(row.dx, 0);
      if (row.polled) {
        t.plat().keys().Hold(static_cast<uint8_t>(row.code));
        t.Pump(45);
      } else {
        t.plat().events().QueueKeyDown(row.code);
        t.Pump(0);
      }
      const bool acts = two_players || row.side == kRight;
      const PlayField& own = t.g().Field(row.side);
      const PlayField& other = t.g().Field(row.side == kRight ? kLeft : kRight);
      EXPECT_EQ(CentresOf(own.Shape),
                acts ? CentresOf(expected) : (row.side == kRight ? right : left));
      EXPECT_EQ(own.SpeedBonus, acts && row.drops ? 425 : 0);
      EXPECT_EQ(CentresOf(other.Shape), row.side == kRight ? left : right);
      EXPECT_EQ(other.SpeedBonus, 0);
      t.plat().keys().Release(static_cast<uint8_t>(row.code));
      t.Pump(45);
      EXPECT_EQ(own.SpeedBonus, 0);
    }
  }
}

// An upright bar turning back to lying on row 11 across columns c-1 to c+2. The turn is
// tried on the scratch copy, which carries `Rotated` and so turns the way the piece will,
// and is refused as a whole when a block would leave the well or overlap a settled block,
// with no nudge away. A block at column 3 is where a turn the other way would go.
TEST(Turning, ATurnIntoAWallOrABlockIsRefusedWhole) {
  struct {
    int column;
    Cell block;  // column 0: none
    bool turns;
  } rows[] = {{5, {0, 0}, true},  {10, {0, 0}, false}, {9, {0, 0}, false},  {8, {0, 0}, true},
              {1, {0, 0}, false}, {2, {0, 0}, true},   {5, {7, 11}, false}, {5, {4, 11}, false},
              {5, {3, 11}, true}, {5, {6, 12}, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "column " << row.column << ", a block at "
                                      << row.block.column << "," << row.block.row);
    RulesGame t;
    t.StartGame();
    t.SetPiece(kRight, 1, 550, 300);  // lying on row 11, columns 4 to 7
    t.g().Form_KeyDown(38, 0);
    ASSERT_TRUE(t.right().Shape.Rotated);
    if (row.block.column) t.SetBlocks(kRight, {row.block});
    t.right().Shape.AmountTranslation((row.column - 5) * 20.0, 0);
    const Centres upright = CentresOf(t.right().Shape);
    t.Pump(1000);  // the first turn's sound has ended
    t.Sounds();
    t.g().ImgShape.Rotated = false;  // as the other well's last turn may have left it
    t.g().Form_KeyDown(38, 0);
    Centres lying;
    for (int i = 0; i < 4; ++i) lying[i] = {t.CellX(kRight, row.column - 1 + i), t.RowY(11)};
    EXPECT_EQ(CentresOf(t.right().Shape), row.turns ? lying : upright);
    EXPECT_EQ(t.right().Shape.Rotated, !row.turns);
    EXPECT_EQ(t.Sounds(), row.turns ? std::vector<std::string>{"rot"} : std::vector<std::string>{});
  }
}

// P pauses the right well, T the left one and only in a two-player game; in battle either
// pauses both, unless its own well has lost. A paused well is inactive and its level timer
// stopped; the same key resumes it.
TEST(Pause, PAndTByModeStopAndStartTheLevelTimer) {
  struct {
    bool two_players, battle;
    int key;
    bool right_lost;
    bool right_paused, left_paused;
  } rows[] = {
      {false, false, 80, false, true, false}, {false, false, 84, false, false, false},
      {true, false, 80, false, true, false},  {true, false, 84, false, false, true},
      {true, true, 80, false, true, true},    {true, true, 84, false, true, true},
      {true, true, 80, true, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << char(row.key) << (row.two_players ? " two" : " one")
                 << (row.battle ? " battle" : "") << (row.right_lost ? " right lost" : ""));
    RulesGame t({.multiplayer = row.two_players, .battle = row.battle});
    t.StartGame();
    if (row.right_lost) {
      t.right().GameOver = true;
      t.right().Active = false;
    }
    for (int press = 1; press <= 2; ++press) {
      t.plat().events().QueueKeyDown(row.key);
      t.Pump(0);
      const bool paused_now = press == 1;
      for (PlayerSide side : {kRight, kLeft}) {
        const PlayField& f = t.g().Field(side);
        const bool toggled = side == kRight ? row.right_paused : row.left_paused;
        const bool playing = side == kRight ? !row.right_lost : row.two_players;
        EXPECT_EQ(f.Paused, toggled && paused_now);
        EXPECT_EQ(f.Active, playing != (toggled && paused_now));
        EXPECT_EQ(f.TimerLevel->Enabled(), !(toggled && paused_now));
      }
    }
  }
}

// F1 restarts the right well and F2 the left one outside battle, F3 both in battle, each
// only on the play screen. Restarting the left well of a one-player game makes it two.
TEST(Restart, F1F2F3ByMode) {
  struct {
    bool battle;
    int key;
    int16_t screen;
    bool right, left;
  } rows[] = {
      {false, 112, 2, true, false},  {false, 113, 2, false, true}, {false, 114, 2, false, false},
      {true, 112, 2, false, false},  {true, 113, 2, false, false}, {true, 114, 2, true, true},
      {false, 112, 1, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "F" << row.key - 111 << (row.battle ? " battle" : "")
                                      << " screen " << row.screen);
    RulesGame t({.multiplayer = row.battle, .battle = row.battle});
    t.StartGame();
    t.g().Screen = row.screen;
    for (PlayField* f : {&t.right(), &t.left()}) {
      f->Score = 99;
      f->Level = 5;
      f->Active = false;
    }
    t.plat().events().QueueKeyDown(row.key);
    t.Pump(0);
    EXPECT_EQ(t.right().Score == 0 && t.right().Level == 1 && t.right().Active, row.right);
    EXPECT_EQ(t.left().Score == 0 && t.left().Level == 1 && t.left().Active, row.left);
    EXPECT_EQ(t.g().settings.Multiplayer, row.battle || row.left);
    if (!row.left) continue;
    ASSERT_GE(t.left().Shape.ShapeType, 1);
    const double x = t.left().Shape.cPntX();
    EXPECT_TRUE(x > t.g().geo.LStartX && x < t.g().geo.LEndX) << x;
  }
}

}  // namespace
}  // namespace brikka
