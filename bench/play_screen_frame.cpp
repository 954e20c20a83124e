// One frame of the play screen through the software renderer at its busiest: two players,
// both wells full of blocks, both grids, both previews and every text at once (panels with a
// seven-digit score, both wells' game-state words, "Paused" twice, the key hints).
// The counters show what each frame cost the text cache: fonts opened and strings
// rasterised per frame, both 0 when nothing on the screen changes.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_game.h"
#include "menu/ini.h"

namespace {

using brikka::PlayerSide;
using brikka::Vector2;

struct BusyPlayScreen : bench::ScratchGame {
  BusyPlayScreen() : ScratchGame("play-screen") {
    const std::string ini = game->DataIniPath();
    for (const char* key : {"Multiplayer", "LGrid", "RGrid"})
      brikka::IniWrite(ini, "Menu", key, "-1");
    brikka::IniWrite(ini, "Menu", "Music", "0");
    game->StartUp();
    game->StartGameFromMenu();
    for (PlayerSide side : {PlayerSide::Right, PlayerSide::Left}) Fill(side);
    game->RightField.Score = 1234567;
    game->LeftField.Score = 7654321;
    for (brikka::PlayField* f : {&game->RightField, &game->LeftField}) {
      f->GameOver = true;
      f->Paused = true;
    }
  }
  // Every cell of the well, each row in the colour of another piece type.
  void Fill(PlayerSide side) {
    auto& blocks = game->Field(side).Blocks;
    blocks.clear();
    const double left = side == PlayerSide::Right ? game->geo.RStartX : game->geo.LStartX;
    for (int row = 1; row <= 20; ++row) {
      int16_t type = static_cast<int16_t>(row % 7 + 1);
      for (int column = 1; column <= 10; ++column) {
        blocks.emplace_back();
        blocks.back().Color = game->GetColor(type);
        blocks.back().Initialise(Vector2{static_cast<float>(left + (column - 0.5) * 20),
                                         static_cast<float>(510 - 20 * row)},
                                 Vector2{20, 20});
      }
    }
  }

  platform::TextStats Stats() const { return platform::TextStatisticsOf(game->Device()); }
};

void ReportTextCost(benchmark::State& state, const platform::TextStats& before,
                    const platform::TextStats& after) {
  const double frames = static_cast<double>(state.iterations());
  state.counters["fonts_opened_per_frame"] =
      static_cast<double>(after.fonts_opened - before.fonts_opened) / frames;
  state.counters["rasterised_per_frame"] =
      static_cast<double>(after.strings_rasterised - before.strings_rasterised) / frames;
}

// A steady frame: nothing on the screen changes between frames.
void BM_PlayScreenFrame(benchmark::State& state) {
  BusyPlayScreen s;
  s.game->Render();  // the first frame makes the fonts and rasterises the texts
  const platform::TextStats before = s.Stats();
  for (auto _ : state) s.game->Render();
  ReportTextCost(state, before, s.Stats());
  state.counters["texts_per_frame"] =
      static_cast<double>(platform::LastFrameTexts(s.game->Device()).size());
}
BENCHMARK(BM_PlayScreenFrame)->Unit(benchmark::kMillisecond);
// A fixed number of frames, for profilers that count calls.
BENCHMARK(BM_PlayScreenFrame)
    ->Name("BM_PlayScreenFrame/profile")
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

// The same with the score changing every frame: one new string rasterised per frame.
void BM_PlayScreenFrameScoreChanging(benchmark::State& state) {
  BusyPlayScreen s;
  s.game->Render();
  const platform::TextStats before = s.Stats();
  for (auto _ : state) {
    ++s.game->RightField.Score;
    s.game->Render();
  }
  ReportTextCost(state, before, s.Stats());
}
BENCHMARK(BM_PlayScreenFrameScoreChanging)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
