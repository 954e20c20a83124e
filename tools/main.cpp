// brikka-assets APPDIR ICONDIR: writes every texture, sound effect and the background tune
// the game loads, into APPDIR/Texs, APPDIR/Sounds and APPDIR/bck.mid, and the desktop icon
// into ICONDIR/hicolor/.
#include <exception>
#include <filesystem>
#include <iostream>

#include "block_art.h"
#include "button_art.h"
#include "icon_art.h"
#include "lettering.h"
#include "menu_art.h"
#include "play_screen_art.h"
#include "sounds.h"
#include "title_art.h"
#include "tune.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: brikka-assets APPDIR ICONDIR\n";
    return 2;
  }
  try {
    const std::filesystem::path app = argv[1];
    const std::filesystem::path texs = app / "Texs";
    const std::filesystem::path sounds = app / "Sounds";
    std::filesystem::create_directories(texs);
    std::filesystem::create_directories(sounds);
    assets::Lettering lettering;
    assets::WriteBlockPicture(texs);
    assets::WritePlayScreenPictures(texs, lettering);
    assets::WriteTitlePicture(texs, lettering);
    assets::WriteMenuPictures(texs);
    assets::WriteButtonPictures(texs, lettering);
    assets::WriteSounds(sounds);
    assets::WriteTune(app / "bck.mid");
    assets::WriteIcons(argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "brikka-assets: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
