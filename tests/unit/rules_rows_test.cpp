// Completed rows: graying, the line count at once, removal and scoring 200 ms later, the
// rows above dropping, and wells emptied (or nearly) by a removal.
#include "platform/numbers.h"
#include "rules_support.h"

namespace brikka {
namespace {

using testing::Cell;
using testing::RulesGame;

// Rows 1..full with column 5 open (for two: rows 1 and 3, row 2 also lacking column 6) and a
// bar standing in column 5 on rows 1-4. With two the row between the removed ones lands on
// the floor and the bar's top one row above, the kept blocks in their order.
TEST(Rows, ScoreByRowsTimesLevelAfterTheGrayDelayWhileLinesCountAtOnce) {
  const int32_t points[] = {0, 40, 100, 300, 1200};
  for (int full = 1; full <= 4; ++full) {
    SCOPED_TRACE(full);
    RulesGame t;
    t.StartGame();
    std::vector<Cell> cells = t.Rows(1, full == 2 ? 3 : full, 5);
    if (full == 2) std::erase_if(cells, [](const Cell& c) { return c.row == 2 && c.column == 6; });
    t.SetBlocks(kRight, cells);
    t.SetPieceCells(kRight, 1, {{5, 1}, {5, 2}, {5, 3}, {5, 4}});
    t.right().Level = 3;
    const size_t blocks = t.right().Blocks.size() + 4;
    t.g().Descend();
    t.Sounds();
    t.Pump(300);  // the lock delay settles the bar
    EXPECT_EQ(t.right().Lines, full);
    EXPECT_EQ(t.right().Score, 4);
    EXPECT_EQ(t.Sounds(), std::vector<std::string>{"line"});
    int gray = 0;
    for (const cBlock& b : t.right().Blocks)
      gray += b.Color == platform::D3DColorXRGB(193, 193, 193);
    EXPECT_EQ(gray, 10 * full);
    t.Pump(199);
    EXPECT_EQ(t.right().Score, 4);
    t.Pump(1);
    EXPECT_EQ(t.right().Score, 4 + points[full] * 3);
    EXPECT_EQ(t.right().Blocks.size(), blocks - 10 * full);
    EXPECT_EQ(t.right().PendingRows, 0);
    if (full != 2) continue;
    std::vector<std::pair<double, double>> expected, centres;
    for (int c : {1, 2, 3, 4, 7, 8, 9, 10, 5}) expected.emplace_back(t.CellX(kRight, c), t.RowY(1));
    expected.emplace_back(t.CellX(kRight, 5), t.RowY(2));
    for (const cBlock& b : t.right().Blocks) centres.emplace_back(b.MyX(), b.MyY());
    EXPECT_EQ(centres, expected);
  }
}

// A removal that takes every block leaves the well empty; one that leaves a single block
// keeps it: it still holds pieces up and the next settle appends to it.
TEST(Rows, ARemovalEmptiesAWellOrLeavesItsLastBlock) {
  for (bool lone : {false, true}) {
    RulesGame t;
    t.StartGame();
    std::vector<Cell> cells = t.Rows(1, 1);
    if (lone) cells.push_back({3, 2});
    t.SetBlocks(kRight, cells);
    bool right = true;
    t.g().CheckForCompletedLines(right);
    t.Pump(200);
    EXPECT_EQ(t.g().RRedimmmed(), lone);
    t.SetPieceCells(kRight, 2, {{3, 2}, {4, 2}, {3, 3}, {4, 3}});
    int16_t down = 0;
    EXPECT_EQ(t.g().CheckforCollsion3(down), lone ? 3 : 0);
    t.g().SettleRShape();
    EXPECT_EQ(t.right().Blocks.size(), lone ? 5u : 4u);
  }
}

}  // namespace
}  // namespace brikka
