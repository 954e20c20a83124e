// The settings and highscore files' two routines: read a value, write a value.
#pragma once

#include <string>

namespace brikka {

// The value of Key in Section of FileName, or Default; at most 254 characters come back.
std::string IniRead(const std::string& FileName, const std::string& Section,
                    const std::string& Key, const std::string& Default);

// Writes Key=Value into Section of FileName, creating what is missing. Carriage returns and
// line feeds in Value become spaces so that a value never spans lines. A failing write is
// not reported (the file keeps what it had).
void IniWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
              const std::string& Value);

}  // namespace brikka
