// Whole-number parsing for settings values.
#include "platform/numbers.h"

#include <cctype>

namespace platform {

bool ParseWholeNumber(const std::string& text, long long& out) {
  size_t i = 0, n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool neg = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
  size_t digits = 0;
  long long v = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
    if (v > (INT64_MAX - 9) / 10) return false;  // far outside any field we store
    v = v * 10 + (text[i++] - '0');
    ++digits;
  }
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (digits == 0 || i != n) return false;
  out = neg ? -v : v;
  return true;
}

}  // namespace platform
