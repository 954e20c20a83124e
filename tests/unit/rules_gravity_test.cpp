// Gravity and levels: whole-pixel fall steps, coming to rest, the lock delay that settles a
// piece, and the level that rises once a minute.
#include <algorithm>

#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;
constexpr PlayerSide kRight = PlayerSide::Right;

double Lowest(const cShape& s) {
  double y = s.BlockY(0);
  for (int i = 1; i < 4; ++i) y = std::max(y, s.BlockY(i));
  return y;
}

TEST(Gravity, FallStepsAreWholePixelsRoundedHalfToEven) {
  RulesGame t;
  t.StartGame();
  struct {
    int16_t fps, speed;
    int pixels;
  } cases[] = {{10, 25, 2}, {10, 35, 4}, {25, 25, 1}, {39, 25, 1}};  // 2.5, 3.5, 1, 0.64
  for (const auto& c : cases) {
    t.SetPiece(kRight, 7, 550, 200);
    t.g().FPS_Current = c.fps;
    t.right().Speed = c.speed;
    t.g().Descend();
    EXPECT_EQ(Lowest(t.right().Shape), 190 + c.pixels) << c.fps << " fps, speed " << c.speed;
  }
}

TEST(Gravity, APieceComesToRestOnTheHighestBlockUnderAnyOfItsColumns) {
  RulesGame t;
  t.StartGame();
  t.SetBlocks(kRight, {{5, 1}, {5, 2}, {6, 1}, {6, 2}, {6, 3}, {7, 5}});
  t.SetPieceCells(kRight, 2, {{5, 8}, {6, 8}, {5, 9}, {6, 9}});
  t.right().SpeedBonus = 600;  // 25 px a frame
  for (int frame = 0; frame < 6; ++frame) t.g().Descend();
  EXPECT_EQ(Lowest(t.right().Shape), t.RowY(4));
  EXPECT_TRUE(t.right().Landed);
  EXPECT_EQ(t.Sounds(), std::vector<std::string>{"coll"});  // once per contact
}

// A fall of exactly one block height used to be made in one jump, which carried a piece
// resting on a block into that block. It is walked pixel by pixel like any other fall.
TEST(Gravity, AWholeBlockStepNeverCarriesAPieceIntoTheStack) {
  RulesGame t;
  t.StartGame();
  t.g().FPS_Current = 10;
  t.right().Speed = 200;
  t.SetBlocks(kRight, {{5, 1}, {6, 1}});
  t.SetPieceCells(kRight, 2, {{5, 2}, {6, 2}, {5, 3}, {6, 3}});
  t.g().Descend();
  EXPECT_EQ(Lowest(t.right().Shape), t.RowY(2));
  t.SetPiece(kRight, 2, 550, 200);
  t.g().Descend();
  EXPECT_EQ(Lowest(t.right().Shape), 210);
}

TEST(LockDelay, SettlesThreeHundredMsAfterContactForFourPointsAndSpawns) {
  RulesGame t;
  t.StartGame();
  const int16_t next_type = t.right().NextShape.ShapeType;
  t.SetPieceCells(kRight, 2, {{5, 1}, {6, 1}, {5, 2}, {6, 2}});
  t.g().Descend();
  t.Pump(299);
  EXPECT_TRUE(t.right().Blocks.empty());
  t.Pump(1);
  EXPECT_EQ(t.right().Blocks.size(), 4u);
  EXPECT_EQ(t.right().Score, 4);
  EXPECT_FALSE(t.right().Landed);
  EXPECT_EQ(t.right().Shape.ShapeType, next_type);
  EXPECT_EQ(Lowest(t.right().Shape), 90);
  t.right().Score = 2147483646;  // a Long at its top stays there
  t.SetPieceCells(kRight, 2, {{5, 3}, {6, 3}, {5, 4}, {6, 4}});
  t.g().Descend();
  t.Pump(300);
  EXPECT_EQ(t.right().Score, 2147483647);
}

TEST(Levels, RiseEveryMinuteToTenFollowingTheTable) {
  RulesGame t;
  t.StartGame();
  const int16_t speeds[] = {0, 25, 75, 94, 119, 144, 175, 200, 225, 250, 275};
  for (int16_t level = 2; level <= 10; ++level) {
    t.Pump(59999);
    EXPECT_EQ(t.right().Level, level - 1);
    t.Pump(1);
    EXPECT_EQ(t.right().Level, level);
    EXPECT_EQ(t.right().Speed, speeds[level]);
    EXPECT_EQ(t.right().TimerDelay->Interval(), level >= 7 ? 100 : level >= 4 ? 200 : 300);
    EXPECT_EQ(t.Sounds(), std::vector<std::string>{"lvl"});
  }
  t.Pump(60000);
  EXPECT_EQ(t.right().Level, 10);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_TRUE(t.Sounds().empty());
}

}  // namespace
}  // namespace brikka
