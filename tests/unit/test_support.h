// Shared set-up for tests that run the game on the headless platform.
#pragma once

#include <memory>
#include <string>

#include "game/frm_main.h"
#include "platform/headless/headless.h"
#include "temp_dir.h"

namespace brikka::testing {

// The game on the headless platform with a data folder of its own.
struct HeadlessGame {
  explicit HeadlessGame(platform::HeadlessOptions opt = {}) {
    if (opt.app_dir.empty()) opt.app_dir = BRIKKA_APP_DIR;
    if (opt.data_dir.empty()) opt.data_dir = data.str();
    plat = std::make_unique<platform::HeadlessPlatform>(opt);
    game = std::make_unique<frmMain>(*plat);
  }
  TempDir data;
  std::unique_ptr<platform::HeadlessPlatform> plat;
  std::unique_ptr<frmMain> game;
};

}  // namespace brikka::testing
