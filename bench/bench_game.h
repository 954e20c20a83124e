// The game on the headless platform with a scratch data folder of its own, removed again
// afterwards, for the benchmarks that time parts of a frame.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/frm_main.h"
#include "platform/headless/headless.h"

namespace bench {

struct ScratchGame {
  explicit ScratchGame(const std::string& name) {
    data = std::filesystem::temp_directory_path() /
           ("brikka-bench-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(data);
    platform::HeadlessOptions opt;
    opt.app_dir = BRIKKA_APP_DIR;
    opt.data_dir = data.string();
    plat = std::make_unique<platform::HeadlessPlatform>(opt);
    game = std::make_unique<brikka::frmMain>(*plat);
  }
  ~ScratchGame() {
    game.reset();
    plat.reset();
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
  }
  ScratchGame(const ScratchGame&) = delete;
  ScratchGame& operator=(const ScratchGame&) = delete;

  std::filesystem::path data;
  std::unique_ptr<platform::HeadlessPlatform> plat;
  std::unique_ptr<brikka::frmMain> game;
};

}  // namespace bench
