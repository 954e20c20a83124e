// A game started from the menu on the headless platform, with helpers to lay out a well and
// to let virtual time pass, for the tests of a well's rules.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "menu/ini.h"
#include "test_support.h"

namespace brikka {
inline constexpr PlayerSide kRight = PlayerSide::Right;
inline constexpr PlayerSide kLeft = PlayerSide::Left;
}  // namespace brikka

namespace brikka::testing {

struct RulesOptions {
  bool multiplayer = false;
  bool battle = false;
};

// A piece's four block centres, in block order.
using Point = std::pair<double, double>;
using Centres = std::array<Point, 4>;
inline Centres CentresOf(const cShape& s) {
  Centres c;
  for (int i = 0; i < 4; ++i) c[i] = {s.BlockX(i), s.BlockY(i)};
  return c;
}

// A well's settled blocks as (x, y, colour), in the well's order.
using Settled = std::vector<std::tuple<double, double, uint32_t>>;
inline Settled SettledOf(const PlayField& f) {
  Settled out;
  for (const cBlock& b : f.Blocks) out.emplace_back(b.MyX(), b.MyY(), b.Color);
  return out;
}

struct Cell {
  int column;  // 1..10 from the well's left edge
  int row;     // from 1 at the bottom
};

class RulesGame {
 public:
  explicit RulesGame(RulesOptions o = {}) {
    const std::string ini = g().DataIniPath();
    IniWrite(ini, "Menu", "Music", "0");
    IniWrite(ini, "Menu", "Multiplayer", o.multiplayer ? "-1" : "0");
    IniWrite(ini, "Menu", "Battle", o.battle ? "-1" : "0");
  }

  frmMain& g() { return *h.game; }
  platform::HeadlessPlatform& plat() { return *h.plat; }
  PlayField& right() { return g().RightField; }
  PlayField& left() { return g().LeftField; }

  // Start-up, then the menu's start button.
  void StartGame() {
    ASSERT_TRUE(g().StartUp());
    g().StartGameFromMenu();
    ASSERT_EQ(g().Screen, 2);
    Sounds();
  }

  double CellX(PlayerSide side, int column) {
    return (side == PlayerSide::Right ? g().geo.RStartX : g().geo.LStartX) +
           (column - 0.5) * g().geo.sizex;
  }
  double RowY(int row) { return g().geo.EndY - row * g().geo.sizey + g().geo.sizey / 2; }
  static Vector2 V(double x, double y) { return {static_cast<float>(x), static_cast<float>(y)}; }

  // Replaces the well's settled blocks, in the order given.
  void SetBlocks(PlayerSide side, const std::vector<Cell>& cells) {
    auto& blocks = g().Field(side).Blocks;
    blocks.clear();
    for (const Cell& c : cells) {
      blocks.emplace_back();
      blocks.back().Color = 0xFF00FF00u;
      blocks.back().Initialise(V(CellX(side, c.column), RowY(c.row)), V(20, 20));
    }
  }
  // Rows from..to, full but for `gap_column` (0 for none), row by row.
  static std::vector<Cell> Rows(int from, int to, int gap_column = 0) {
    std::vector<Cell> cells;
    for (int r = from; r <= to; ++r)
      for (int c = 1; c <= 10; ++c)
        if (c != gap_column) cells.push_back({c, r});
    return cells;
  }

  // The falling piece of `type` with its four blocks on the given cells, or placed as a
  // spawn places it at (x, y).
  void SetPieceCells(PlayerSide side, int16_t type, std::initializer_list<Cell> cells) {
    double bx[4], by[4];
    int i = 0;
    for (const Cell& c : cells) {
      bx[i] = CellX(side, c.column);
      by[i++] = RowY(c.row);
    }
    g().Field(side).Shape.SetEachBlock(bx, by, V(20, 20), type);
    g().Field(side).Shape.Scolor = g().GetColor(type);
  }
  void SetPiece(PlayerSide side, int16_t type, double x, double y) {
    g().Field(side).Shape.Initialise(type, g().GetColor(type), V(x, y), V(20, 20));
  }

  // Column 1 stacked to the top row and a bar resting on it above the well, settled by the
  // well's lock delay: the well loses.
  void LoseByLockDelay(PlayerSide side) {
    std::vector<Cell> column;
    for (int r = 1; r <= 20; ++r) column.push_back({1, r});
    SetBlocks(side, column);
    SetPieceCells(side, 1, {{1, 21}, {1, 22}, {1, 23}, {1, 24}});
    g().Field(side).TimerDelay->SetEnabled(true);
    Pump(300);
  }

  // Lets virtual time pass with only the window's messages handled: nothing falls.
  void Pump(int32_t ms) {
    plat().vclock().Advance(ms);
    plat().events().DoEvents();
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) g().FramePass();
  }
  std::vector<std::string> Sounds() { return plat().sounds().TakePlayed(); }

  HeadlessGame h;
};

}  // namespace brikka::testing
