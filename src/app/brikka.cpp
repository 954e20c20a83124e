// brikka: the game. `brikka --help` lists its options.
#include <exception>
#include <iostream>
#include <optional>

#include "app/game_options.h"
#include "game/frm_main.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/recording/tap_platform.h"
#include "platform/recording/tape_writer.h"
#include "sim/dump.h"

namespace {

// A data file as it is before the game touches it, under the name a replay gives it.
platform::DataFile DataFileAtStart(const char* name, const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return {name, std::nullopt};
  return {name, std::move(bytes)};
}

// The game on `plat`; when recording, its data files first and its final state last.
int Play(platform::Platform& plat, platform::TapeWriter* tape) {
  brikka::frmMain game(plat);
  if (tape) {
    tape->WriteHeader(plat.random.seed(),
                      {DataFileAtStart("Data.ini", game.DataIniPath()),
                       DataFileAtStart("brikka_highscores.ini", game.HighscoresPath())});
  }
  game.Form_Load();
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
    if (tape) {
      const uint64_t seed = plat->random.seed();
      plat = std::make_unique<platform::TapPlatform>(std::move(plat), *tape, seed);
    }
    return Play(*plat, tape.get());
  } catch (const std::exception& e) {
    std::cerr << "brikka: " << e.what() << "\n";
    return 1;
  }
}
