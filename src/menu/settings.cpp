// ReadMenus: the seven switches of the settings file.
#include "game/frm_main.h"
#include "menu/ini.h"
#include "platform/numbers.h"

namespace brikka {

namespace {
// A value that is not a whole number, or does not fit an Integer, reads as the default.
int16_t ReadIntegerSetting(const std::string& file, const char* key, int16_t def) {
  std::string text = IniRead(file, "Menu", key, std::to_string(def));
  long long v = 0;
  if (!platform::ParseWholeNumber(text, v) || v < -32768 || v > 32767) return def;
  return static_cast<int16_t>(v);
}
}  // namespace

std::string frmMain::DataIniPath() const { return plat_.data_dir + "/Data.ini"; }

void frmMain::ReadMenus() {
  const std::string file = DataIniPath();
  RightField.Active = true;
  LeftField.Active = true;
  settings.Clockwise = ReadIntegerSetting(file, "Clockwise", 1);
  settings.Multiplayer = platform::CBool(ReadIntegerSetting(file, "Multiplayer", 0));
  settings.Music = platform::CBool(ReadIntegerSetting(file, "Music", 1));
  settings.SFX = platform::CBool(ReadIntegerSetting(file, "SFX", 1));
  settings.Battle = platform::CBool(ReadIntegerSetting(file, "Battle", 0));
  RightField.ShowGrid = platform::CBool(ReadIntegerSetting(file, "RGrid", 0));
  LeftField.ShowGrid = platform::CBool(ReadIntegerSetting(file, "LGrid", 0));
  if (!settings.Multiplayer) LeftField.Active = false;
}

}  // namespace brikka
