// Battle mode: rows removed in one well lift the other's stack and add rows with holes; a
// loss ends the round for both wells with one win counted.
#include <map>
#include <set>
#include <tuple>

#include "rules_support.h"

namespace brikka {
namespace {

using testing::Cell;
using testing::RulesGame;
using testing::Settled;
using testing::SettledOf;

testing::RulesOptions Battle(bool multiplayer = true) {
  return {.multiplayer = multiplayer, .battle = true};
}

// The sender's well holds just `rows` full rows; they are found and, 200 ms later, removed.
void RemoveRows(RulesGame& t, PlayerSide sender, int rows) {
  t.SetBlocks(sender, t.Rows(1, rows));
  bool right = sender == kRight;
  t.g().CheckForCompletedLines(right);
  t.Pump(200);
}

// The blocks from `from` on are `rows` pushed rows, the first pushed now highest: each a run
// of 3 to 7 blocks on one row, in distinct columns of the well, each in a piece colour.
void ExpectPushedRows(RulesGame& t, PlayerSide side, size_t from, int rows) {
  const Settled blocks = SettledOf(t.g().Field(side));
  std::set<uint32_t> colours;
  for (int16_t type = 1; type <= 7; ++type) colours.insert(t.g().GetColor(type));
  std::set<double> columns;
  for (int c = 1; c <= 10; ++c) columns.insert(t.CellX(side, c));
  size_t i = from;
  for (int row = rows; row >= 1; --row) {
    SCOPED_TRACE(row);
    std::set<double> used;
    for (; i < blocks.size() && std::get<1>(blocks[i]) == t.RowY(row); ++i) {
      const auto [x, y, colour] = blocks[i];
      EXPECT_TRUE(columns.count(x)) << x;
      EXPECT_TRUE(used.insert(x).second) << "column used twice";
      EXPECT_TRUE(colours.count(colour));
    }
    EXPECT_GE(used.size(), 3u);
    EXPECT_LE(used.size(), 7u);
  }
  EXPECT_EQ(i, blocks.size());
}

// Either well sending to a stack or to an empty well: the stack rises a row and keeps its
// order, and the new row follows it (alone in an empty well). With the two-player switch off
// (a hand-edited settings file) nothing is pushed. (The right well sending to a stack: the
// scenario battle_push_and_win.)
TEST(Battle, OneRowLiftsTheOpponentsStackAndAddsABottomRowWithHoles) {
  for (auto [sender, empty, two_players] : {std::tuple{kRight, true, true},
                                            {kLeft, false, true},
                                            {kLeft, true, true},
                                            {kRight, false, false}}) {
    SCOPED_TRACE(::testing::Message() << (sender == kRight) << empty << two_players);
    RulesGame t(Battle(two_players));
    t.StartGame();
    const PlayerSide opp = sender == kRight ? kLeft : kRight;
    t.SetBlocks(opp,
                empty ? std::vector<Cell>{} : std::vector<Cell>{{1, 1}, {2, 1}, {2, 2}, {10, 3}});
    Settled before = SettledOf(t.g().Field(opp));
    RemoveRows(t, sender, 1);
    EXPECT_EQ(t.g().Field(sender).Score, 40);
    EXPECT_EQ(t.g().Field(opp).Score, 0);  // its piece, far above, was left alone
    for (auto& b : before) std::get<1>(b) -= two_players ? 20 : 0;
    const Settled after = SettledOf(t.g().Field(opp));
    ASSERT_GE(after.size(), before.size());
    EXPECT_EQ(Settled(after.begin(), after.begin() + before.size()), before);
    if (two_players) ExpectPushedRows(t, opp, before.size(), 1);
    EXPECT_TRUE(two_players || after.size() == before.size()) << after.size();
  }
}

// The left square hangs 10 px over its stack; two rows sent would reach it, so it is put down
// on the stack, settled (+4) and followed by the next piece, and then everything rises.
TEST(Battle, APieceInTheWayIsPutDownSettledAndLiftedWithTheStack) {
  RulesGame t(Battle());
  t.StartGame();
  t.SetBlocks(kLeft, {{3, 1}, {3, 2}, {4, 1}});
  t.SetPieceCells(kLeft, 2, {{3, 4}, {4, 4}, {3, 5}, {4, 5}});
  t.left().Shape.AmountTranslation(0, 10);
  int16_t next = t.left().NextShape.ShapeType, type = 2;
  cShape spawned;
  spawned.Initialise(next, t.g().GetColor(next), t.g().SpawnPoint(kLeft), RulesGame::V(20, 20));
  RemoveRows(t, kRight, 2);
  EXPECT_EQ(t.left().Score, 4);
  EXPECT_EQ(t.left().Shape.ShapeType, next);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(t.left().Shape.BlockY(i), spawned.BlockY(i));
  const uint32_t square = t.g().GetColor(type);
  const Settled lifted = {
      {t.CellX(kLeft, 3), t.RowY(3), 0xFF00FF00u}, {t.CellX(kLeft, 3), t.RowY(4), 0xFF00FF00u},
      {t.CellX(kLeft, 4), t.RowY(3), 0xFF00FF00u}, {t.CellX(kLeft, 3), t.RowY(5), square},
      {t.CellX(kLeft, 4), t.RowY(5), square},      {t.CellX(kLeft, 3), t.RowY(6), square},
      {t.CellX(kLeft, 4), t.RowY(6), square}};
  const Settled after = SettledOf(t.left());
  ASSERT_GE(after.size(), lifted.size());
  EXPECT_EQ(Settled(after.begin(), after.begin() + lifted.size()), lifted);
  ExpectPushedRows(t, kLeft, lifted.size(), 2);
}

// Mended: an L hangs with its lower block over an empty column and its other column over a
// block far down. Measured by that block alone the piece has room for four rows and would be
// left where the rows pushed into the empty column reach it; the floor counts as well, so it
// is put down first.
TEST(Battle, APieceOverAnEmptyColumnIsPutDownBeforeThePushedRowsReachIt) {
  RulesGame t(Battle());
  t.StartGame();
  t.SetBlocks(kLeft, {{4, 1}});
  t.SetPieceCells(kLeft, 3, {{3, 5}, {3, 6}, {3, 7}, {4, 7}});
  t.left().Shape.AmountTranslation(0, 10);
  bool right = true;
  EXPECT_EQ(t.g().GetDistanceOfSameX(right), 90);
  RemoveRows(t, kRight, 4);
  EXPECT_EQ(t.left().Score, 4);
  // Put down on the floor (rows 1-3 of column 3, row 3 of column 4), then four rows up.
  const Settled after = SettledOf(t.left());
  ASSERT_GE(after.size(), 5u);
  EXPECT_EQ(std::get<0>(after[1]), t.CellX(kLeft, 3));
  EXPECT_EQ(std::get<1>(after[1]), t.RowY(5));
  EXPECT_EQ(std::get<1>(after[4]), t.RowY(7));
  ExpectPushedRows(t, kLeft, 5, 4);
}

// A loss gives the other side a win and stops both wells with no highscore check; a piece
// settling above the top after that (the winner's lock delay was already running) counts
// no second win (mended). (The left well losing, and F3: the scenario battle_push_and_win.)
TEST(Battle, ALossEndsTheRoundForBothWithOneWin) {
  RulesGame t(Battle());
  t.StartGame();
  t.right().Score = 5000;  // enough for the table outside battle
  t.LoseByLockDelay(kRight);
  PlayField &l = t.right(), &w = t.left();
  EXPECT_TRUE(l.GameOver && !w.GameOver);
  EXPECT_FALSE(l.Active || w.Active);
  EXPECT_TRUE(w.Wins == 1 && l.Wins == 0) << w.Wins << " " << l.Wins;
  EXPECT_EQ(t.g().Screen, 2);
  EXPECT_FALSE(l.MadeHighscore || l.EnteringNickname || w.EnteringNickname);
  t.LoseByLockDelay(kLeft);
  EXPECT_TRUE(w.Wins == 1 && l.Wins == 0) << w.Wins << " " << l.Wins;
}

// 10,000 rows pushed into an empty well: 3 and 7 blocks come about half as often as 4, 5
// and 6, and every column is used.
TEST(Battle, TenThousandRowsHaveHalfWeightEndCountsAndUseEveryColumn) {
  RulesGame t(Battle());
  t.StartGame();
  t.plat().random.Seed(11);
  std::map<size_t, int> counts;
  std::set<double> columns;
  for (int n = 0; n < 10000; ++n) {
    t.left().Blocks.clear();
    t.right().PendingRows = 1;
    bool right = true;
    t.g().BattlePlay(right);
    ++counts[t.left().Blocks.size()];
    for (const cBlock& b : t.left().Blocks) columns.insert(b.MyX());
  }
  const double middle = (counts[4] + counts[5] + counts[6]) / 3.0;
  for (size_t c = 3; c <= 7; ++c)
    EXPECT_NEAR(counts[c] / middle, c == 3 || c == 7 ? 0.5 : 1, 0.06) << c;
  EXPECT_EQ(counts.size(), 5u);
  EXPECT_EQ(columns.size(), 10u);
  EXPECT_EQ(*columns.begin(), t.CellX(kLeft, 1));
}

}  // namespace
}  // namespace brikka
