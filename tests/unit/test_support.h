// Shared set-up for tests that run the game on the headless platform.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "game/frm_main.h"
#include "platform/headless.h"

namespace brikka::testing {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("brikka-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

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
