// What recording costs a pass: the tape's own work for the answers of a typical pass of a
// two-player game (nine clock readings, the device's state, a keyboard poll, a pump round,
// the tune's three answers), and a whole headless pass of that game with and without the
// tape around its machine.
#include <benchmark/benchmark.h>

#include <fstream>

#include "bench_game.h"
#include "platform/recording/tap_platform.h"
#include "platform/recording/tape_tokens.h"
#include "platform/recording/tape_writer.h"

namespace {

std::unique_ptr<platform::TapeWriter> NullTape() {
  std::string error;
  auto tape = platform::TapeWriter::Create("/dev/null", error);
  tape->WriteHeader(1, {});
  return tape;
}

void BM_TapeOfAPass(benchmark::State& state) {
  auto tape = NullTape();
  using platform::Stream;
  int32_t tick = 0;
  for (auto _ : state) {
    tape->BeginPass();
    for (int i = 0; i < 9; ++i) tape->Put(Stream::Clock, platform::IntToken(i == 4 ? 26 : 0));
    tape->Put(Stream::Level, "0");
    if (++tick % 2) tape->Put(Stream::Keys, tick % 6 ? "-" : "205");
    tape->Put(Stream::Events, "-");
    for (const char* t : {"3", "-1", "-1"}) tape->Put(Stream::Music, t);
  }
}
BENCHMARK(BM_TapeOfAPass);

// A two-player game on the play screen, its pieces falling, recorded or not.
void BM_HeadlessPass(benchmark::State& state) {
  const bool recorded = state.range(0) != 0;
  bench::ScratchGame g("recorder");
  std::ofstream(g.data / "Data.ini") << "[Menu]\nMultiplayer=-1\n";
  auto tape = NullTape();
  std::unique_ptr<platform::TapPlatform> tap;
  brikka::frmMain* game = g.game.get();
  std::unique_ptr<brikka::frmMain> tapped;
  if (recorded) {
    platform::HeadlessOptions opt;
    opt.app_dir = BRIKKA_APP_DIR;
    opt.data_dir = g.data.string();
    tap = std::make_unique<platform::TapPlatform>(std::make_unique<platform::HeadlessPlatform>(opt),
                                                  *tape, 1);
    tapped = std::make_unique<brikka::frmMain>(*tap);
    game = tapped.get();
  }
  game->StartUp();
  game->StartGameFromMenu();
  for (auto _ : state) {
    game->FramePass();
    if (game->RightField.GameOver || game->LeftField.GameOver) {
      state.PauseTiming();
      game->StartGameFromMenu();
      state.ResumeTiming();
    }
  }
  state.SetLabel(recorded ? "recorded" : "not recorded");
}
BENCHMARK(BM_HeadlessPass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
