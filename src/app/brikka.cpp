// brikka: the game.
#include <exception>
#include <iostream>

#include "game/frm_main.h"
#include "platform/platform.h"

int main() {
  try {
    auto plat = platform::MakeRealPlatform();
    brikka::frmMain game(*plat);
    game.Form_Load();
    return game.ExitCode();
  } catch (const std::exception& e) {
    std::cerr << "brikka: " << e.what() << "\n";
    return 1;
  }
}
