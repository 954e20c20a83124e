// brikka: the game. `brikka --help` lists its options.
#include <exception>
#include <iostream>

#include "app/game_options.h"
#include "game/frm_main.h"
#include "highscores/highscores_window.h"
#include "platform/platform.h"

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
    platform::RealPlatformOptions real;
    real.windowed = parsed.options.windowed;
    auto plat = platform::MakeRealPlatform(real);
    brikka::HighscoreFlags flags;
    const bool sync = !parsed.options.sync_host.empty();
    if (sync) SyncHighscores(*plat, parsed.options, flags);
    brikka::frmMain game(*plat);
    game.Form_Load(sync ? &flags : nullptr);
    return game.ExitCode();
  } catch (const std::exception& e) {
    std::cerr << "brikka: " << e.what() << "\n";
    return 1;
  }
}
