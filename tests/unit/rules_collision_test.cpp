// Collision and settling: the floor's and the scratch piece's edges, the exact side and
// touch-down tests, and what settling appends.
#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;

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

}  // namespace
}  // namespace brikka
