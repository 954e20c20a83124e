// The game started up on its main menu on the headless platform, with the mouse worked
// through its device records and the settings file read back line by line.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace brikka::testing {

class MenuGame {
 public:
  explicit MenuGame(platform::HeadlessOptions opt = {}) : h(std::move(opt)) {}

  frmMain& g() { return *h.game; }
  platform::HeadlessPlatform& plat() { return *h.plat; }

  void StartUp() { ASSERT_TRUE(g().StartUp()); }
  // The cursor put on any pixel (the real mouse reaches only even ones).
  void At(int32_t x, int32_t y) { g().MouseX = x, g().MouseY = y; }
  void Record(uint32_t offset, int32_t data) { plat().mouse_device().Push({offset, data}); }
  void Press() { Record(platform::mouse_offset::Button0, 0x80); }
  void Release() { Record(platform::mouse_offset::Button0, 0); }
  // One round of the window's messages: the mouse signal reaches the handler.
  void Pump() { plat().events().DoEvents(); }
  void ClickAt(int32_t x, int32_t y) { At(x, y), Press(), Release(), Pump(); }

  // The settings file's "key=value" lines below its section header, in file order.
  std::vector<std::string> IniLines() {
    std::ifstream in(g().DataIniPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line[0] != '[') lines.push_back(line);
    }
    return lines;
  }

  HeadlessGame h;
};

}  // namespace brikka::testing
