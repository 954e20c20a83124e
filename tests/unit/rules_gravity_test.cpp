// Gravity and collision: the floor's and the scratch piece's edges, the exact side and
// touch-down tests, whole-pixel fall steps, coming to rest, the lock delay that settles a
// piece, and the level that rises once a minute.
#include <algorithm>
#include <climits>

#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;

double Lowest(const cShape& s) {
  return std::max({s.BlockY(0), s.BlockY(1), s.BlockY(2), s.BlockY(3)});
}

TEST(Collision, BottomOnTheFloorTouchesWhileTheScratchPieceIsInside) {
  RulesGame t;
  t.StartGame();
  frmMain& g = t.g();
  t.SetPieceCells(kRight, 2, {{5, 1}, {6, 1}, {5, 2}, {6, 2}});
  EXPECT_EQ(g.CheckForCollsion(), 1);
  EXPECT_TRUE(t.right().TimerDelay->Enabled());
  EXPECT_EQ(g.CheckForCollsion2(), 0);  // one player: the left floor is never asked
  g.CopyToImgShape(kRight, false);
  bool right = true;
  EXPECT_FALSE(g.CheckImgShapeBlockOnWall(right));
  g.ImgShape.AmountTranslation(0, 1);
  EXPECT_TRUE(g.CheckImgShapeBlockOnWall(right));
}

// The side test's vertical overlap is an open interval: a block beside the piece and 0.9 h
// lower blocks the move, one a whole row lower does not; diagonal blocks hold nothing up.
TEST(Collision, BesideAndNineTenthsLowerBlocksAWholeRowLowerDoesNot) {
  RulesGame t;
  t.StartGame();
  frmMain& g = t.g();
  t.SetBlocks(kRight, {{6, 1}, {3, 1}});
  t.SetPieceCells(kRight, 2, {{4, 3}, {5, 3}, {4, 2}, {5, 2}});
  t.right().Shape.AmountTranslation(0, 2);
  int16_t toward_right = 1, toward_left = 2, down = 0;
  EXPECT_EQ(g.CheckforCollsion3(toward_right), 1);
  EXPECT_EQ(g.CheckforCollsion3(toward_left), 2);
  const double x = t.right().Shape.BlockX(0);
  g.TryMove(kRight, 1);
  EXPECT_EQ(t.right().Shape.BlockX(0), x);

  t.right().Shape.AmountTranslation(0, -2);
  EXPECT_EQ(g.CheckforCollsion3(toward_right), 0);
  EXPECT_EQ(g.CheckforCollsion3(down), 0);
  g.TryMove(kRight, 1);
  EXPECT_EQ(t.right().Shape.BlockX(0), x + 20);
  EXPECT_EQ(g.CheckforCollsion3(down), 3);
}

// A piece rests on the highest block under any of its columns, with one landing sound. A
// fall of exactly one block height used to be made in one jump, which carried a piece
// resting on a block into that block: it is walked pixel by pixel like any other fall.
TEST(Gravity, APieceComesToRestOnTheHighestBlockUnderAnyOfItsColumns) {
  RulesGame t;
  t.StartGame();
  t.SetBlocks(kRight, {{5, 1}, {5, 2}, {6, 1}, {6, 2}, {6, 3}, {7, 5}});
  t.SetPieceCells(kRight, 2, {{5, 8}, {6, 8}, {5, 9}, {6, 9}});
  t.right().SpeedBonus = 600;  // 25 px a frame
  for (int frame = 0; frame < 6; ++frame) t.g().Descend();
  EXPECT_EQ(Lowest(t.right().Shape), t.RowY(4));
  EXPECT_TRUE(t.right().Landed);
  EXPECT_EQ(t.Sounds(), std::vector<std::string>{"coll"});
  t.right().SpeedBonus = 0;
  t.right().Speed = 200;
  t.g().FPS_Current = 10;
  t.g().Descend();
  EXPECT_EQ(Lowest(t.right().Shape), t.RowY(4));
}

// Each minute raises the level: its speed, the whole pixels (half to even) a piece falls per
// frame at 10, 25 and 39 frames a second, and the lock delay as a landed piece shows it by
// when it settles, shorter from levels 4 and 7; settling scores up to a Long's top. At 10
// the level timer stops.
TEST(Levels, EachMinuteRaisesSpeedFallPerFrameAndShortensTheLockDelay) {
  struct {
    int16_t level, speed;
    int at10fps, at25fps, at39fps;
    int32_t delay;
  } rows[] = {{1, 25, 2, 1, 1, 300},    {2, 75, 8, 3, 2, 300},   {3, 94, 9, 4, 2, 300},
              {4, 119, 12, 5, 3, 200},  {5, 144, 14, 6, 4, 200}, {6, 175, 18, 7, 4, 200},
              {7, 200, 20, 8, 5, 100},  {8, 225, 22, 9, 6, 100}, {9, 250, 25, 10, 6, 100},
              {10, 275, 28, 11, 7, 100}};
  RulesGame t;
  t.StartGame();
  t.right().Score = INT32_MAX - 1;
  int32_t since_rise = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.level);
    if (row.level > 1) {
      t.Pump(60000 - since_rise - 1);
      EXPECT_EQ(t.right().Level, row.level - 1);
      t.Pump(1);
      since_rise = 0;
      EXPECT_EQ(t.Sounds(), std::vector<std::string>{"lvl"});
    }
    EXPECT_EQ(t.right().Level, row.level);
    EXPECT_EQ(t.right().Speed, row.speed);
    for (auto [fps, pixels] : {std::pair{10, row.at10fps}, {25, row.at25fps}, {39, row.at39fps}}) {
      t.SetPiece(kRight, 7, 550, 200);
      t.g().FPS_Current = static_cast<int16_t>(fps);
      t.g().Descend();
      EXPECT_EQ(Lowest(t.right().Shape), 190 + pixels) << fps << " fps";
    }
    const int16_t next_type = t.right().NextShape.ShapeType;
    t.SetBlocks(kRight, {});
    t.SetPieceCells(kRight, 2, {{5, 1}, {6, 1}, {5, 2}, {6, 2}});
    t.g().Descend();
    t.Pump(row.delay - 1);
    EXPECT_TRUE(t.right().Blocks.empty());
    t.Pump(1);
    EXPECT_EQ(t.right().Blocks.size(), 4u);
    EXPECT_EQ(t.right().Score, INT32_MAX);
    EXPECT_EQ(t.right().Shape.ShapeType, next_type);
    EXPECT_EQ(Lowest(t.right().Shape), 90);  // spawned at the top
    since_rise += row.delay;
    t.Sounds();
  }
  t.Pump(60000 - since_rise);
  EXPECT_EQ(t.right().Level, 10);
  EXPECT_FALSE(t.right().TimerLevel->Enabled());
  EXPECT_TRUE(t.Sounds().empty());
}

}  // namespace
}  // namespace brikka
