// A long seeded battle: two players driven by a random-key bot, a screen shake started now
// and then as a caller would, and a new round after every loss. After every frame each
// settled block sits on a cell centre (at rest, while the screen shakes) and no two blocks
// of a well share a cell. BRIKKA_SOAK_MINUTES sets the virtual time (60 by default),
// BRIKKA_SOAK_SEED the seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "menu/ini.h"
#include "platform/keycodes.h"
#include "platform/numbers.h"
#include "unit/test_support.h"

namespace brikka {
namespace {

namespace dik = platform::dik;
namespace vk = platform::vk;

long FromEnv(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// One player: for each new piece it mostly picks the turns and the column where the piece
// would land best on its well's heights (few holes, low, rows completed, so rows are sent
// back and forth), otherwise random ones; a random key now and then; it drops the piece once
// it is turned and over its column.
class Player {
 public:
  Player(PlayerSide side, std::mt19937& rnd) : side_(side), rnd_(rnd) {}

  void Act(frmMain& g, platform::HeadlessPlatform& plat) {
    const PlayField& f = g.Field(side_);
    const bool right = side_ == PlayerSide::Right;
    const double top =
        std::min({f.Shape.BlockY(0), f.Shape.BlockY(1), f.Shape.BlockY(2), f.Shape.BlockY(3)});
    if (top < last_top_ - 30) NewPiece(g);
    last_top_ = top;
    const double left =
        std::min({f.Shape.BlockX(0), f.Shape.BlockX(1), f.Shape.BlockX(2), f.Shape.BlockX(3)});
    const int column =
        static_cast<int>(std::lround((left - g.WellLeft(side_)) / g.geo.sizex - 0.5)) + 1;
    const uint8_t l = right ? dik::Left : dik::A, r = right ? dik::Right : dik::D;
    const uint8_t down = right ? dik::Down : dik::S;
    auto& keys = plat.keys();
    keys.Release(l);
    keys.Release(r);
    keys.Release(down);
    if (turns_ > 0 && Chance(0.3)) {
      plat.events().QueueKeyDown(right ? vk::Up : 'W');
      --turns_;
    }
    if (Chance(0.05)) {
      keys.Hold(Chance(0.5) ? l : r);
    } else if (column < target_) {
      keys.Hold(r);
    } else if (column > target_) {
      keys.Hold(l);
    } else if (turns_ == 0 && Chance(0.8)) {
      keys.Hold(down);
    }
  }

 private:
  void NewPiece(const frmMain& g) {
    target_ = std::uniform_int_distribution<int>(1, 10)(rnd_);
    turns_ = std::uniform_int_distribution<int>(0, 3)(rnd_);
    if (Chance(0.2)) return;
    const double w = g.geo.sizex, h = g.geo.sizey;
    int height[11] = {};  // the highest row taken in each column
    for (const cBlock& b : g.Field(side_).Blocks) {
      const long c = std::lround((b.MyX() - g.WellLeft(side_)) / w + 0.5);
      const long r = std::lround((g.geo.EndY - (b.MyY() - g.Displacement())) / h + 0.5);
      if (c >= 1 && c <= 10) height[c] = std::max<int>(height[c], static_cast<int>(r));
    }
    double best = 1e18;
    cShape piece = g.Field(side_).Shape;
    for (int turns = 0; turns < 4; ++turns) {
      long col[4], row[4];  // cells relative to the leftmost column and the lowest row
      for (int i = 0; i < 4; ++i) {
        col[i] = std::lround(piece.BlockX(i) / w);
        row[i] = -std::lround(piece.BlockY(i) / h);
      }
      const long c0 = *std::min_element(col, col + 4), r0 = *std::min_element(row, row + 4);
      for (int i = 0; i < 4; ++i) col[i] -= c0, row[i] -= r0;
      const long width = *std::max_element(col, col + 4) + 1;
      for (int left = 1; left + width - 1 <= 10; ++left) {
        const double score = Landing(height, col, row, left);
        if (score < best) best = score, target_ = left, turns_ = turns;
      }
      piece.RotateME(g.settings.Clockwise);
    }
  }

  // Holes made under the piece count most, then how high it reaches.
  static double Landing(const int* height, const long* col, const long* row, int left) {
    long base = 0;
    for (int i = 0; i < 4; ++i) base = std::max<long>(base, height[left + col[i]] + 1 - row[i]);
    int h[11];
    std::copy(height, height + 11, h);
    long holes = 0, top = 0;
    for (int i = 0; i < 4; ++i) {
      const int c = static_cast<int>(left + col[i]);
      const long r = base + row[i];
      if (r > h[c]) holes += r - h[c] - 1, h[c] = static_cast<int>(r);
      top = std::max(top, r);
    }
    return holes * 100.0 + top * 10.0;
  }

  bool Chance(double p) { return std::bernoulli_distribution(p)(rnd_); }

  PlayerSide side_;
  std::mt19937& rnd_;
  double last_top_ = 1e9;
  int target_ = 5, turns_ = 0;
};

// Empty when every settled block of the well is on a cell centre and alone in its cell. One
// exception, the rules' own way of losing: battle rows can lift a stack above the well, where
// the next piece appears inside it and settles there, which is when the well loses. So a well
// that has just lost may share cells above its top row.
std::string WellFault(frmMain& g, PlayerSide side) {
  std::set<std::pair<long, long>> cells;
  const double t = g.Displacement(), w = g.geo.sizex, h = g.geo.sizey;
  for (const cBlock& b : g.Field(side).Blocks) {
    const double c = (b.MyX() - g.WellLeft(side)) / w - 0.5;
    const double r = (g.geo.EndY - (b.MyY() - t)) / h + 0.5;
    std::ostringstream where;
    where << (side == PlayerSide::Right ? "right" : "left") << " block at (" << b.MyX() << ", "
          << b.MyY() << ") with the screen moved " << t;
    if (c != std::floor(c) || r != std::floor(r) || c < 0 || c > 9) {
      return where.str() + " is off the cells";
    }
    const bool lost_above = g.Field(side).GameOver && r > 20;
    if (!cells.insert({std::lround(c), std::lround(r)}).second && !lost_above) {
      return where.str() + " shares its cell";
    }
  }
  return "";
}

TEST(Soak, AnHourOfBattleKeepsEveryBlockOnItsOwnCell) {
  const long minutes = FromEnv("BRIKKA_SOAK_MINUTES", 60);
  const long seed = FromEnv("BRIKKA_SOAK_SEED", 1);
  testing::HeadlessGame h;
  frmMain& g = *h.game;
  platform::HeadlessPlatform& plat = *h.plat;
  for (const char* key : {"Multiplayer", "Battle"}) IniWrite(g.DataIniPath(), "Menu", key, "-1");
  for (const char* key : {"Music", "SFX"}) IniWrite(g.DataIniPath(), "Menu", key, "0");
  plat.random.Seed(static_cast<uint64_t>(seed));
  std::mt19937 rnd(static_cast<uint32_t>(seed));
  ASSERT_TRUE(g.StartUp());
  g.StartGameFromMenu();
  Player right(PlayerSide::Right, rnd), left(PlayerSide::Left, rnd);

  const int32_t start = plat.vclock().GetTickCount();
  long frames = 0, rounds = 0, shakes = 0, lines = 0, wait = -1;
  while (platform::TickDiff(plat.vclock().GetTickCount(), start) < minutes * 60000) {
    right.Act(g, plat);
    left.Act(g, plat);
    if (std::bernoulli_distribution(1.0 / 400)(rnd)) {
      g.FillOrgPos();
      g.SetupQuake(static_cast<int16_t>(std::uniform_int_distribution<int>(1, 4)(rnd)));
      ++shakes;
    }
    if (std::bernoulli_distribution(1.0 / 3000)(rnd)) plat.events().QueueKeyDown('P');
    const bool over = g.RightField.GameOver || g.LeftField.GameOver;
    if (!over) wait = -1;
    if (over && wait < 0) wait = std::uniform_int_distribution<int>(0, 40)(rnd);
    if (over && wait-- == 0) {
      lines += g.RightField.Lines + g.LeftField.Lines;
      ++rounds;
      plat.events().QueueKeyDown(vk::F1 + 2);
    }
    if (!g.RightField.Active && !g.LeftField.Active && !over) plat.events().QueueKeyDown('P');
    g.FramePass();
    ++frames;
    for (PlayerSide side : {PlayerSide::Right, PlayerSide::Left}) {
      const std::string fault = WellFault(g, side);
      ASSERT_EQ(fault, "") << "frame " << frames << ", seed " << seed;
    }
  }
  std::cout << frames << " frames, " << rounds << " rounds (wins " << g.RightField.Wins << " : "
            << g.LeftField.Wins << "), " << lines << " rows removed and sent, " << shakes
            << " shakes\n";
  EXPECT_GT(rounds, minutes);
  EXPECT_GT(lines, 2 * minutes);
}

}  // namespace
}  // namespace brikka
