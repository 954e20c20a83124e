// IniRead, IniWrite and their batched forms on the platform's profile-string functions.
#include "menu/ini.h"

#include "platform/ini.h"

namespace brikka {

namespace {
// A 256-character buffer of which 255 are offered: 254 characters of value at most.
constexpr size_t kValueBuffer = 255;

// A value never spans lines.
std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}
}  // namespace

std::string IniRead(const std::string& FileName, const std::string& Section, const std::string& Key,
                    const std::string& Default) {
  return platform::GetPrivateProfileString(Section, Key, Default, kValueBuffer, FileName);
}

std::vector<std::optional<std::string>> IniReadAll(const std::string& FileName,
                                                   const std::string& Section,
                                                   const std::vector<std::string>& Keys) {
  return platform::GetPrivateProfileStrings(Section, Keys, kValueBuffer, FileName);
}

std::vector<std::optional<std::string>> IniValuesIn(std::string_view Text,
                                                    const std::string& Section,
                                                    const std::vector<std::string>& Keys) {
  return platform::ProfileStringsIn(Text, Section, Keys, kValueBuffer);
}

void IniWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
              const std::string& Value) {
  platform::WritePrivateProfileString(Section, Key, OnOneLine(Value), FileName);
}

bool IniWriteAll(const std::string& FileName, const std::string& Section,
                 const std::vector<std::pair<std::string, std::string>>& KeyValues) {
  std::vector<platform::ProfileEntry> entries;
  entries.reserve(KeyValues.size());
  for (const auto& [key, value] : KeyValues) entries.push_back({key, OnOneLine(value)});
  return platform::WritePrivateProfileStrings(Section, entries, FileName);
}

}  // namespace brikka
