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

// What the shake moves: everything but the left well's falling piece.
std::vector<double> Shaken(std::vector<double> rest, const RulesGame& t, double by) {
  const size_t right = t.h.game->RightField.Blocks.size() + 5;
  const size_t left_blocks = t.h.game->LeftField.Blocks.size();
  for (size_t i = 0; i < rest.size(); ++i) {
    const bool left_piece = i >= right + left_blocks && i < right + left_blocks + 5;
    if (!left_piece) rest[i] += by;
  }
  return rest;
}

RulesGame Shakeable() {
  return RulesGame({.multiplayer = true});
}

void Lay(RulesGame& t) {
  t.StartGame();
  t.SetBlocks(kRight, {{1, 1}, {2, 1}, {2, 2}});
  t.SetBlocks(kLeft, {{9, 1}, {10, 1}});
  t.SetPiece(kRight, 3, 550, 300);
  t.SetPiece(kLeft, 5, 150, 250);
}

// Each size moves everything but the left piece one step a frame (1 row: 4 px, turning at
// once; 2 to 4 rows: turning two steps out), and after its reversals everything is where it
// was, the counters are idle, and a further frame changes nothing.
TEST(Quake, EachSizeStepsTurnsAndStopsWithEverythingBackAtRest) {
  struct Size {
    int16_t rows;
    double step;
    int frames;
  };
  for (const Size& s :
       {Size{1, 4, 6}, Size{2, 11469 / 4096.0, 16}, Size{3, 13653 / 4096.0, 28}, Size{4, 7, 32}}) {
    SCOPED_TRACE(s.rows);
    auto t = Shakeable();
    Lay(t);
    const auto rest = Ys(t);
    t.g().FillOrgPos();
    t.g().SetupQuake(s.rows);
    const std::vector<int> out =
        s.rows == 1 ? std::vector<int>{1, 0, -1, 0} : std::vector<int>{1, 2, 1, 0, -1, -2, -1, 0};
    for (int frame = 1; frame <= s.frames; ++frame) {
      ASSERT_NE(t.g().quake.QuakeRange, 0) << frame;
      t.g().Quake();
      const double by = out[(frame - 1) % out.size()] * s.step;
      ASSERT_EQ(t.g().Displacement(), by) << frame;
      ASSERT_EQ(Ys(t), Shaken(rest, t, by)) << frame;
    }
    EXPECT_EQ(t.g().quake.QuakeStep, s.step);
    const QuakeState& q = t.g().quake;
    EXPECT_EQ(std::tie(q.QuakeRange, q.QuakeCount, q.QuakeDir, q.QuakeLimit),
              std::make_tuple(0.0, int16_t{0}, int16_t{1}, int16_t{1}));
    t.g().Quake();
    EXPECT_EQ(Ys(t), rest);
  }
}

// Started again part-way with another size, a shake starts from rest and still ends.
TEST(Quake, ANewShakePartWayStartsFromRestAndEnds) {
  auto t = Shakeable();
  Lay(t);
  const auto rest = Ys(t);
  t.g().FillOrgPos();
  t.g().SetupQuake(4);
  for (int i = 0; i < 5; ++i) t.g().Quake();
  t.g().FillOrgPos();
  t.g().SetupQuake(2);
  EXPECT_EQ(Ys(t), rest);
  for (int i = 0; i < 16; ++i) t.g().Quake();
  EXPECT_EQ(t.g().quake.QuakeRange, 0);
  EXPECT_EQ(Ys(t), rest);
}

std::vector<std::pair<float, float>> Records(const PlayField& f) {
  std::vector<std::pair<float, float>> r;
  for (const OrgPosition& o : f.OrgPos) r.emplace_back(o.x, o.y);
  return r;
}

// The lowest full row of the right well at rest, or 0.
int16_t LowestFullRow(RulesGame& t) {
  for (int16_t row = 1; row <= 20; ++row) {
    int n = 0;
    for (const cBlock& b : t.right().Blocks) n += b.MyY() - t.g().Displacement() == t.RowY(row);
    if (n >= 10) return row;
  }
  return 0;
}

// The one-pass removal records what removing the rows one by one from the bottom, each
// recording the rest positions, records: after the last row when blocks are left; when the
// removal empties the well, after the row before the last (the top full row, fallen) or,
// for a single row, not at all. Also while shaking: the records are rest positions. Once
// emptied, the right well is not recorded again.
TEST(Quake, ARowRemovalRecordsAsOneRecordingPerRemovedRow) {
  auto with = [](std::vector<Cell> c, const std::vector<Cell>& more) {
    c.insert(c.end(), more.begin(), more.end());
    return c;
  };
  const std::vector<std::vector<Cell>> layouts = {
      with(RulesGame::Rows(1, 1), {{3, 2}, {5, 3}}),
      with(RulesGame::Rows(1, 2), {{3, 3}}),
      RulesGame::Rows(1, 1),
      RulesGame::Rows(1, 2),
      with(RulesGame::Rows(1, 1), RulesGame::Rows(3, 3)),
  };
  for (size_t n = 0; n < layouts.size(); ++n) {
    for (bool shaking : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "layout " << n << (shaking ? " shaking" : ""));
      auto one_pass = Shakeable(), by_row = Shakeable();
      for (RulesGame* t : {&one_pass, &by_row}) {
        Lay(*t);
        t->SetBlocks(kRight, layouts[n]);
        t->g().FillOrgPos();
        t->right().OrgPos.clear();
        if (shaking) {
          t->g().SetupQuake(2);
          t->g().Quake();
          t->g().Quake();
        }
      }
      bool right = true;
      one_pass.g().CheckForCompletedLines(right);
      one_pass.Pump(200);
      for (int16_t row; (row = LowestFullRow(by_row)) != 0;)
        by_row.g().RemoveCompletedLine(right, row);

      EXPECT_EQ(Records(one_pass.right()), Records(by_row.right()));
      EXPECT_EQ(Records(one_pass.left()), Records(by_row.left()));
      EXPECT_EQ(one_pass.g().quake.OrgQuadPos, by_row.g().quake.OrgQuadPos);
      EXPECT_EQ(one_pass.g().quake.RightWellEmptied, by_row.g().quake.RightWellEmptied);
      const bool emptied = n >= 2;
      EXPECT_EQ(one_pass.g().quake.RightWellEmptied, emptied);
      const size_t recorded[] = {2, 1, 0, 10, 10};
      EXPECT_EQ(one_pass.right().OrgPos.size(), recorded[n]);
      // The top full row, one row lower: rows 2 then 1 of a two-row well, 3 then 2 of rows 1
      // and 3.
      if (n >= 3) {
        for (const OrgPosition& o : one_pass.right().OrgPos) EXPECT_EQ(o.y, one_pass.RowY(n - 2));
      }
      if (emptied) {
        const auto records = Records(one_pass.right());
        one_pass.SetBlocks(kRight, {{1, 1}});
        one_pass.g().FillOrgPos();
        EXPECT_EQ(Records(one_pass.right()), records);
      }
    }
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
