// brikka: the game. `brikka --help` lists its options.
#include <exception>
#include <iostream>

#include "app/game_options.h"
#include "game/frm_main.h"
#include "platform/platform.h"

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
    brikka::frmMain game(*plat);
    game.Form_Load();
    return game.ExitCode();
  } catch (const std::exception& e) {
    std::cerr << "brikka: " << e.what() << "\n";
    return 1;
  }
}
