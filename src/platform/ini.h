// INI files read and written as the Windows profile functions do.
//
// Reading: section and key names match without regard to case; blanks around keys and
// values are trimmed; one pair of matching outer quotes (double or single) is stripped from
// a value; a line splits at its first '='; the first of duplicate keys (and sections) wins;
// lines starting with ';' are comments; CRLF, CR and LF files all read. A missing file,
// section or key gives the default with its trailing spaces removed. The result is cut to
// size - 1 characters.
//
// Writing updates the key in place keeping its spelling, adds a new key after the last key
// of its section, appends a new section at the end, keeps every other line as it was, and
// replaces the file atomically. A write that cannot be made returns false and loses nothing.
// A batch of keys for one section reads the file once and replaces it once, leaving what
// writing the keys one by one would leave; a crash never leaves part of a batch.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, size_t size,
                                    const std::string& file);

// The values of several keys of one section from one read of the file, each as
// GetPrivateProfileString would give it; nothing for a key (or file, or section) that is
// not there.
std::vector<std::optional<std::string>> GetPrivateProfileStrings(
    const std::string& section, const std::vector<std::string>& keys, size_t size,
    const std::string& file);

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file);

struct ProfileEntry {
  std::string key, value;
};

// All of `entries` or none: a key that could not be read back refuses the whole batch.
bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<ProfileEntry>& entries, const std::string& file);

}  // namespace platform
