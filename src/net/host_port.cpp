// Reading "HOST[:PORT]".
#include "net/host_port.h"

#include <algorithm>

namespace net {

namespace {

// Letters, digits, dots, hyphens and underscores: a name anything else is in cannot be
// looked up, and would only fail later with a vaguer message.
bool HostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

bool ParsePort(const std::string& text, int32_t& port) {
  if (text.empty() || text.size() > 5) return false;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  port = value;
  return true;
}

}  // namespace

std::string ParseHostPort(const std::string& text, std::string& host, int32_t& port) {
  // Our sockets speak IPv4 only; an IPv6 literal would otherwise end in "host not found".
  if (text.find('[') != std::string::npos || std::count(text.begin(), text.end(), ':') > 1) {
    return "IPv6 addresses are not supported: " + text;
  }
  const std::string bad = "bad host \"" + text + "\": HOST[:PORT], a port from 1 to 65535";
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  if (name.empty() || !std::all_of(name.begin(), name.end(), HostCharacter)) return bad;
  int32_t number = 21;
  if (colon != std::string::npos && !ParsePort(text.substr(colon + 1), number)) return bad;
  host = name;
  port = number;
  return std::string();
}

}  // namespace net
