// One frame of the well rules on two wells stacked to a given row: both pieces falling with
// soft drop, one keyboard poll, the (idle) screen shake, and one settle that completes and
// removes four rows. The argument is the number of stacked rows (each row has column 10
// open, so nothing is removed until the bar drops into that column). The battle variant
// also sends the four rows to the left well, which puts its piece down first.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_game.h"
#include "menu/ini.h"
#include "platform/keycodes.h"

namespace {

using brikka::cBlock;
using brikka::PlayerSide;
using brikka::Vector2;

struct Bench : bench::ScratchGame {
  explicit Bench(bool battle = false) : ScratchGame("rules") {
    const std::string ini = game->DataIniPath();
    brikka::IniWrite(ini, "Menu", "Multiplayer", "-1");
    brikka::IniWrite(ini, "Menu", "Music", "0");
    brikka::IniWrite(ini, "Menu", "SFX", "0");
    brikka::IniWrite(ini, "Menu", "Battle", battle ? "-1" : "0");
    game->StartUp();
    game->StartGameFromMenu();
    game->FPS_Current = 25;
    plat->keys().Hold(platform::dik::Down);
    plat->keys().Hold(platform::dik::S);
    plat->keys().Hold(platform::dik::Right);
    plat->keys().Hold(platform::dik::D);
  }
  double CellX(PlayerSide side, int column) const {
    double left = side == PlayerSide::Right ? game->geo.RStartX : game->geo.LStartX;
    return left + (column - 0.5) * game->geo.sizex;
  }
  double RowY(int row) const {
    return game->geo.EndY - row * game->geo.sizey + game->geo.sizey / 2;
  }

  std::vector<cBlock> Stack(PlayerSide side, int rows) const {
    std::vector<cBlock> blocks;
    for (int r = 1; r <= rows; ++r) {
      for (int c = 1; c <= 9; ++c) {
        cBlock b;
        b.Color = 0xFF00FF00u;
        b.Initialise(Vector2{static_cast<float>(CellX(side, c)), static_cast<float>(RowY(r))},
                     Vector2{20, 20});
        blocks.push_back(b);
      }
    }
    return blocks;
  }

  void Restore(const std::vector<cBlock>& right, const std::vector<cBlock>& left) {
    for (PlayerSide side : {PlayerSide::Right, PlayerSide::Left}) {
      auto& f = game->Field(side);
      f.Blocks = side == PlayerSide::Right ? right : left;
      double x = side == PlayerSide::Right ? 550 : 150;
      f.Shape.Initialise(7, 0xFF00E4FFu, Vector2{static_cast<float>(x), 100}, Vector2{20, 20});
      f.SpeedBonus = 600;
      f.SavedBonus = 600;
    }
  }

  void SettleBarInColumnTen() {
    double xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
      xs[i] = CellX(PlayerSide::Right, 10);
      ys[i] = RowY(i + 1);
    }
    game->RightField.Shape.SetEachBlock(xs, ys, Vector2{20, 20}, 1);
    game->SettleRShape();
    game->RTimerGray_Timer();
  }
};

void Frames(benchmark::State& state, bool battle) {
  Bench b(battle);
  const int rows = static_cast<int>(state.range(0));
  const auto right = b.Stack(PlayerSide::Right, rows), left = b.Stack(PlayerSide::Left, rows);
  for (auto _ : state) {
    state.PauseTiming();
    b.Restore(right, left);
    state.ResumeTiming();
    b.game->Descend();
    b.game->Descend2();
    b.game->Quake();
    b.game->Checkkeys();
    b.SettleBarInColumnTen();
  }
  state.counters["blocks_per_well"] = static_cast<double>(right.size());
}

void BM_RulesFrame(benchmark::State& state) {
  Frames(state, false);
}
void BM_BattleFrame(benchmark::State& state) {
  Frames(state, true);
}
BENCHMARK(BM_RulesFrame)
    ->Arg(0)
    ->Arg(4)
    ->Arg(8)
    ->Arg(12)
    ->Arg(16)
    ->Arg(19)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BattleFrame)->Arg(0)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);

// The untimed restore of the loop above, timed on its own, to show what the pause costs.
void BM_RestoreOnly(benchmark::State& state) {
  Bench b;
  const int rows = static_cast<int>(state.range(0));
  const auto right = b.Stack(PlayerSide::Right, rows), left = b.Stack(PlayerSide::Left, rows);
  for (auto _ : state) {
    state.PauseTiming();
    b.Restore(right, left);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RestoreOnly)->Arg(19)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
