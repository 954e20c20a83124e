// The screen shake: its steps, turns and end at rest, the rest positions a row removal
// records, and pieces that settle, rows that go and rows that are pushed while it shakes.
#include <set>
#include <tuple>

#include "platform/keycodes.h"
#include "rules_support.h"

namespace brikka {
namespace {

using testing::Cell;
using testing::RulesGame;
using testing::SettledOf;

// Every y of the wells, the pieces and the two screen pictures, in one list.
std::vector<double> Ys(RulesGame& t) {
  std::vector<double> ys;
  for (const PlayField* f : {&t.right(), &t.left()}) {
    for (const cBlock& b : f->Blocks) ys.push_back(b.MyY());
    for (int i = 0; i < 4; ++i) ys.push_back(f->Shape.BlockY(i));
    ys.push_back(f->Shape.cPntY());
  }
  ys.push_back(t.g().QuakeSquare.Topy);
  ys.push_back(t.g().FramesSquare.Topy);
  return ys;
}

void Lay(RulesGame& t) {
  t.StartGame();
  t.SetBlocks(kRight, {{1, 1}, {2, 1}, {2, 2}});
  t.SetBlocks(kLeft, {{9, 1}, {10, 1}});
  t.SetPiece(kRight, 3, 550, 300);
  t.SetPiece(kLeft, 5, 150, 250);
}

// Each size, started part-way through a 4-row shake, starts from rest and moves one step a
// frame (1 row: 4 px, turning at once; 2 to 4 rows: turning two steps out; what moves: the
// scenario quake_shake), and after its reversals everything is where it was, the counters are
// idle, and a further frame changes nothing.
TEST(Quake, EachSizeStepsTurnsAndStopsWithEverythingBackAtRest) {
  struct Size {
    int16_t rows;
    double step;
    int frames;
  };
  for (const Size& s :
       {Size{1, 4, 6}, Size{2, 11469 / 4096.0, 16}, Size{3, 13653 / 4096.0, 28}, Size{4, 7, 32}}) {
    SCOPED_TRACE(s.rows);
    RulesGame t({.multiplayer = true});
    Lay(t);
    const auto rest = Ys(t);
    t.g().FillOrgPos();
    t.g().SetupQuake(4);
    for (int i = 0; i < 5; ++i) t.g().Quake();
    t.g().FillOrgPos();
    t.g().SetupQuake(s.rows);
    ASSERT_EQ(Ys(t), rest);
    const std::vector<int> out =
        s.rows == 1 ? std::vector<int>{1, 0, -1, 0} : std::vector<int>{1, 2, 1, 0, -1, -2, -1, 0};
    for (int frame = 1; frame <= s.frames; ++frame) {
      ASSERT_NE(t.g().quake.QuakeRange, 0) << frame;
      t.g().Quake();
      const double by = out[(frame - 1) % out.size()] * s.step;
      ASSERT_EQ(t.g().Displacement(), by) << frame;
    }
    EXPECT_EQ(t.g().quake.QuakeStep, s.step);
    const QuakeState& q = t.g().quake;
    EXPECT_EQ(std::tie(q.QuakeRange, q.QuakeCount, q.QuakeDir, q.QuakeLimit),
              std::make_tuple(0.0, int16_t{0}, int16_t{1}, int16_t{1}));
    t.g().Quake();
    EXPECT_EQ(Ys(t), rest);
  }
}

// A removal records the rest positions of what is left, as removing the rows one by one
// from the bottom would, also while shaking: after the last row when blocks are left; when
// it empties the well, after the row before the last (the top full row, fallen) or, for a
// single row, not at all. Once emptied, the right well is not recorded again.
TEST(Quake, ARowRemovalRecordsAsOneRecordingPerRemovedRow) {
  struct {
    std::vector<Cell> above;  // blocks above the full row 1
    size_t recorded;
    int row;  // where the records are
    bool emptied;
  } cases[] = {{{{3, 2}}, 1, 1, false}, {{}, 0, 0, true}, {RulesGame::Rows(2, 2), 10, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recorded);
    RulesGame t({.multiplayer = true});
    Lay(t);
    std::vector<Cell> cells = RulesGame::Rows(1, 1);
    cells.insert(cells.end(), c.above.begin(), c.above.end());
    t.SetBlocks(kRight, cells);
    t.g().FillOrgPos();
    t.right().OrgPos.clear();
    t.g().SetupQuake(2);
    t.g().Quake();
    bool right = true;
    t.g().CheckForCompletedLines(right);
    t.Pump(200);
    EXPECT_EQ(t.g().quake.RightWellEmptied, c.emptied);
    ASSERT_EQ(t.right().OrgPos.size(), c.recorded);
    for (const OrgPosition& o : t.right().OrgPos) EXPECT_EQ(o.y, t.RowY(c.row));
    t.SetBlocks(kRight, {{1, 1}});
    t.g().FillOrgPos();
    EXPECT_EQ(t.right().OrgPos.size(), c.emptied ? c.recorded : 1u);
  }
}

// Both wells on cell centres, no two blocks of a well in one cell.
void ExpectOnCells(RulesGame& t) {
  for (PlayerSide side : {kRight, kLeft}) {
    std::set<std::pair<int, int>> cells;
    for (const cBlock& b : t.g().Field(side).Blocks) {
      const double c = (b.MyX() - t.CellX(side, 1)) / 20, r = (t.RowY(1) - b.MyY()) / 20;
      EXPECT_EQ(c, static_cast<int>(c));
      EXPECT_EQ(r, static_cast<int>(r));
      EXPECT_TRUE(cells.insert({static_cast<int>(c), static_cast<int>(r)}).second);
    }
  }
}

// A battle in which, while the screen shakes, a bar drops into the right well and completes
// two rows, the rows go and are pushed into the left well, and a square falls onto the left
// stack: everything ends exactly as in the same game without a shake, on cell centres.
// With a piece measured against the settled blocks without their displacement, nearly every
// case here ends otherwise: pieces settle off their rows or pass through the stack.
TEST(Quake, PiecesSettlingAndRowsGoingWhileShakingEndAsWithoutAShake) {
  auto play = [](RulesGame& t, int16_t rows, int start) {
    t.StartGame();
    t.SetBlocks(kRight, RulesGame::Rows(1, 2, 10));
    t.SetPieceCells(kRight, 1, {{10, 6}, {10, 7}, {10, 8}, {10, 9}});
    t.SetBlocks(kLeft, {{1, 1}, {2, 1}, {3, 2}, {5, 1}, {6, 1}, {7, 3}});
    t.SetPieceCells(kLeft, 2, {{1, 7}, {2, 7}, {1, 8}, {2, 8}});
    t.plat().keys().Hold(platform::dik::Down);
    t.plat().keys().Hold(platform::dik::S);
    for (int frame = 0; frame < 80; ++frame) {
      if (rows && frame == start) {
        t.g().FillOrgPos();
        t.g().SetupQuake(rows);
      }
      t.Frames(1);
      if (rows && frame == start) {
        EXPECT_NE(t.g().Displacement(), 0);
      }
    }
  };
  RulesGame calm({.multiplayer = true, .battle = true});
  play(calm, 0, 0);
  ASSERT_GE(calm.right().Score, 4 + 100);
  ASSERT_GE(calm.left().Blocks.size(), 6u + 4 + 2 * 3);
  for (int16_t rows = 1; rows <= 4; ++rows) {
    for (int start : {0, 3, 12}) {
      SCOPED_TRACE(::testing::Message() << rows << " rows from frame " << start);
      RulesGame t({.multiplayer = true, .battle = true});
      play(t, rows, start);
      EXPECT_EQ(t.g().Displacement(), 0);
      EXPECT_EQ(SettledOf(t.right()), SettledOf(calm.right()));
      EXPECT_EQ(SettledOf(t.left()), SettledOf(calm.left()));
      EXPECT_EQ(Ys(t), Ys(calm));
      EXPECT_EQ(t.left().Score, calm.left().Score);
      ExpectOnCells(t);
    }
  }
}

}  // namespace
}  // namespace brikka
