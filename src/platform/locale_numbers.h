// The user's thousands separator, for numbers the screens show with digit grouping.
#pragma once

#include <string>

namespace platform {

// The separator of the user's locale (LC_ALL, LC_NUMERIC, LANG) as game text (Windows-1252),
// read once; "," where the locale defines none.
const std::string& ThousandsSeparator();

// The same for a named locale; "," for a locale that is not installed or has no separator.
std::string ThousandsSeparatorOf(const char* locale_name);

// A separator as the locale spells it (UTF-8) in game text: one Windows-1252 byte. The
// spaces some locales use become the no-break space; what has no such byte becomes ",".
std::string SeparatorAsGameText(const std::string& utf8);

}  // namespace platform
