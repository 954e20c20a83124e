// ReadMenus: the seven switches of the settings file.
#include "game/frm_main.h"
#include "menu/ini.h"
#include "platform/files.h"
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

// Only a quarter turn either way is a turn: 0 would fold a piece onto one cell and 2 would
// spread it apart, so any other value keeps the default sense.
int16_t ReadTurningSense(const std::string& file) {
  const int16_t c = ReadIntegerSetting(file, "Clockwise", 1);
  return c == 1 || c == -1 ? c : 1;
}
}  // namespace

// The file is found whatever the case of its name ("data.ini" copied from elsewhere is
// ours), and written where it was found; a new one is made as "Data.ini".
std::string frmMain::DataIniPath() const {
  return platform::ResolvePath(plat_.data_dir, "Data.ini");
}

void frmMain::ReadMenus() {
  const std::string file = DataIniPath();
  RightField.Active = true;
  LeftField.Active = true;
  settings.Clockwise = ReadTurningSense(file);
  settings.Multiplayer = platform::CBool(ReadIntegerSetting(file, "Multiplayer", 0));
  settings.Music = platform::CBool(ReadIntegerSetting(file, "Music", 1));
  settings.SFX = platform::CBool(ReadIntegerSetting(file, "SFX", 1));
  settings.Battle = platform::CBool(ReadIntegerSetting(file, "Battle", 0));
  RightField.ShowGrid = platform::CBool(ReadIntegerSetting(file, "RGrid", 0));
  LeftField.ShowGrid = platform::CBool(ReadIntegerSetting(file, "LGrid", 0));
  if (!settings.Multiplayer) LeftField.Active = false;
}

}  // namespace brikka
