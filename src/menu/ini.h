// The settings and highscore files' routines: read and write one value, or many at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brikka {

// The value of Key in Section of FileName, or Default; at most 254 characters come back.
std::string IniRead(const std::string& FileName, const std::string& Section, const std::string& Key,
                    const std::string& Default);

// The values of several keys of Section from one read of FileName, each cut as IniRead cuts
// it; nothing where a key is missing.
std::vector<std::optional<std::string>> IniReadAll(const std::string& FileName,
                                                   const std::string& Section,
                                                   const std::vector<std::string>& Keys);
// The same from the bytes of a file instead of the file.
std::vector<std::optional<std::string>> IniValuesIn(std::string_view Text,
                                                    const std::string& Section,
                                                    const std::vector<std::string>& Keys);

// Writes Key=Value into Section of FileName, creating what is missing. Carriage returns and
// line feeds in Value become spaces so that a value never spans lines. A failing write is
// not reported (the file keeps what it had).
void IniWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
              const std::string& Value);

// Writes every Key=Value pair into Section of FileName in one replacement of the file, with
// the same result as IniWrite of each in turn: a crash leaves the old file or the new one.
// False when nothing could be written.
bool IniWriteAll(const std::string& FileName, const std::string& Section,
                 const std::vector<std::pair<std::string, std::string>>& KeyValues);

}  // namespace brikka
