// Reading the thousands separator of a locale without touching the program's own locale:
// the game's other number output (settings, dumps) must not change with the user's.
#include "platform/locale_numbers.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {
namespace {

constexpr char kDefault[] = ",";

// The code point of a UTF-8 string holding exactly one character, or -1.
long SingleCodePoint(const std::string& s) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data());
  if (s.size() == 1 && b[0] < 0x80) return b[0];
  if (s.size() == 2 && (b[0] & 0xE0) == 0xC0 && (b[1] & 0xC0) == 0x80)
    return ((b[0] & 0x1F) << 6) | (b[1] & 0x3F);
  if (s.size() == 3 && (b[0] & 0xF0) == 0xE0 && (b[1] & 0xC0) == 0x80 && (b[2] & 0xC0) == 0x80)
    return ((b[0] & 0x0F) << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F);
  return -1;
}

}  // namespace

std::string SeparatorAsGameText(const std::string& utf8) {
  const long cp = SingleCodePoint(utf8);
  if (cp >= 0x20 && cp < 0x7F) return std::string(1, static_cast<char>(cp));
  if (cp >= 0xA0 && cp <= 0xFF) return std::string(1, static_cast<char>(cp));
  switch (cp) {
    case 0x2007:  // figure space
    case 0x2009:  // thin space
    case 0x202F:  // narrow no-break space
      return "\xA0";
    case 0x2019:  // right single quotation mark
      return "\x92";
    default:
      return kDefault;
  }
}

std::string ThousandsSeparatorOf(const char* locale_name) {
  locale_t loc = newlocale(LC_NUMERIC_MASK, locale_name, locale_t{});
  if (!loc) return kDefault;
  std::string sep = nl_langinfo_l(THOUSEP, loc);
  freelocale(loc);
  // A lone high byte is a legacy 8-bit (Latin-1) locale's, which game text spells alike.
  if (sep.size() == 1 && static_cast<unsigned char>(sep[0]) >= 0xA0) return sep;
  return SeparatorAsGameText(sep);
}

const std::string& ThousandsSeparator() {
  static const std::string sep = ThousandsSeparatorOf("");
  return sep;
}

}  // namespace platform
