// IniRead and IniWrite on the platform's profile-string functions.
#include "menu/ini.h"

#include "platform/ini.h"

namespace brikka {

std::string IniRead(const std::string& FileName, const std::string& Section,
                    const std::string& Key, const std::string& Default) {
  // A 256-character buffer of which 255 are offered: 254 characters of value at most.
  return platform::GetPrivateProfileString(Section, Key, Default, 255, FileName);
}

void IniWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
              const std::string& Value) {
  std::string text = Value;
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  platform::WritePrivateProfileString(Section, Key, text, FileName);
}

}  // namespace brikka
