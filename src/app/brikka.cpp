// brikka: the game. `brikka --help` lists its options.
#include <exception>
#include <iostream>
#include <optional>

#include "app/game_options.h"
#include "game/frm_main.h"
#include "highscores/highscores_window.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/recording/tap_platform.h"
#include "platform/recording/tape_writer.h"
#include "sim/dump.h"
#include "sim/replay.h"

namespace {

// The highscore exchange with the server the command line names, until its window unloads;
// what it leaves of the program-wide flags goes on to the main window.
void SyncHighscores(platform::Platform& plat, const brikka::GameOptions& options,
                    brikka::HighscoreFlags& flags) {
  flags.HighscoreDownloadMode = !options.upload;
  brikka::ExchangeSetup setup;
  setup.server = options.sync_host;
  setup.port = options.sync_port;
  setup.data_dir = plat.data_dir;
  brikka::Highscores window(plat, *plat.timers, flags, setup);
  window.Form_Load();
  brikka::RunHighscoresWindow(window, *plat.pump, *plat.timers, *plat.clock);
}

// A data file as it is before the game touches it, under the name a replay gives it.
platform::DataFile DataFileAtStart(const char* name, const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return {name, std::nullopt};
  return {name, std::move(bytes)};
}

// Runs the game on `plat`. A recording gets what the game starts from first (the random
// seed, the data files, the highscore flags the exchange left) and its final state last.
int Play(platform::Platform& plat, platform::TapeWriter* tape,
         const brikka::HighscoreFlags& flags) {
  brikka::frmMain game(plat);
  if (tape) {
    tape->WriteHeader(plat.random.seed(),
                      {DataFileAtStart("Data.ini", game.DataIniPath()),
                       DataFileAtStart("brikka_highscores.ini", game.HighscoresPath())},
                      brikka::sim::StartValuesOf(flags));
  }
  game.Form_Load(&flags);
  if (tape) {
    auto& witness = static_cast<platform::TapPlatform&>(plat).witness();
    tape->Finish(
        brikka::sim::DumpState(game, brikka::sim::WitnessedMachine(witness, plat.app_dir)));
  }
  return game.ExitCode();
}

}  // namespace

int main(int argc, char** argv) {
  const brikka::ParsedOptions parsed = brikka::ParseGameOptions({argv + 1, argv + argc});
  if (!parsed.error.empty()) {
    std::cerr << "brikka: " << parsed.error << "\nTry 'brikka --help' for the options.\n";
    return brikka::kUsageExitStatus;
  }
  if (parsed.options.help) {
    std::cout << brikka::GameUsage();
    return 0;
  }
  try {
    std::unique_ptr<platform::TapeWriter> tape;
    if (!parsed.options.record.empty()) {
      std::string error;
      tape = platform::TapeWriter::Create(parsed.options.record, error);
      if (!tape) {
        std::cerr << "brikka: cannot record into '" << parsed.options.record << "': " << error
                  << "\n";
        return 1;
      }
    }
    platform::RealPlatformOptions real;
    real.windowed = parsed.options.windowed;
    std::unique_ptr<platform::Platform> plat = platform::MakeRealPlatform(real);
    brikka::HighscoreFlags flags;
    // The exchange talks to a server, which a replay cannot: a recording starts after it.
    if (!parsed.options.sync_host.empty()) SyncHighscores(*plat, parsed.options, flags);
    if (tape) {
      const uint64_t seed = plat->random.seed();
      plat = std::make_unique<platform::TapPlatform>(std::move(plat), *tape, seed);
    }
    return Play(*plat, tape.get(), flags);
  } catch (const std::exception& e) {
    std::cerr << "brikka: " << e.what() << "\n";
    return 1;
  }
}
