// Answers as tokens and back.
#include "platform/recording/tape_tokens.h"

#include <charconv>
#include <cstdio>

#include "platform/recording/tape.h"

namespace platform {

namespace {

bool Reserved(unsigned char c) {
  return c <= ' ' || c >= 0x7F || c == '%' || c == ',' || c == '*' || c == '=';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[noreturn]] void Bad(const char* what, std::string_view token) {
  throw ReplayError(std::string("expected ") + what + ", got '" + std::string(token.substr(0, 60)) +
                    "'");
}

// Splits at `sep`, keeping empty parts.
std::vector<std::string_view> SplitAt(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  for (size_t from = 0;;) {
    size_t at = s.find(sep, from);
    parts.push_back(s.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

}  // namespace

std::string EscapeText(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (Reserved(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string UnescapeText(std::string_view token) {
  std::string out;
  out.reserve(token.size());
  for (size_t i = 0; i < token.size(); ++i) {
    if (token[i] != '%') {
      out += token[i];
      continue;
    }
    int hi = i + 2 < token.size() ? HexDigit(token[i + 1]) : -1;
    int lo = hi >= 0 ? HexDigit(token[i + 2]) : -1;
    if (lo < 0) Bad("%XX", token.substr(i));
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::string IntToken(int64_t v) {
  char buf[24];
  auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

int64_t ParseInt(std::string_view token, int64_t lo, int64_t hi) {
  int64_t v = 0;
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
  if (ec != std::errc() || end != token.data() + token.size() || v < lo || v > hi) {
    Bad("a whole number", token);
  }
  return v;
}

std::string RealToken(double v) {
  char buf[32];
  auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

double ParseReal(std::string_view token) {
  double v = 0;
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
  if (ec != std::errc() || end != token.data() + token.size()) Bad("a number", token);
  return v;
}

std::string OutcomeToken(bool ok, const std::string& error) {
  return ok ? "1" : "0:" + EscapeText(error);
}

bool ParseOutcome(std::string_view token, std::string& error) {
  if (token == "1") return true;
  if (token.substr(0, 2) != "0:") Bad("1 or 0:REASON", token);
  error = UnescapeText(token.substr(2));
  return false;
}

std::string KeysToken(bool ok, const KeyboardState& state) {
  if (!ok) return "x";
  std::string out;
  for (size_t code = 0; code < state.size(); ++code) {
    if (!state[code]) continue;
    if (!out.empty()) out += '+';
    out += IntToken(static_cast<int64_t>(code));
  }
  return out.empty() ? "-" : out;
}

// The device reports a held key as 0x80, whatever else it might have said.
bool ParseKeys(std::string_view token, KeyboardState& state) {
  state.fill(0);
  if (token == "x") return false;
  if (token == "-") return true;
  for (std::string_view code : SplitAt(token, '+')) state[ParseInt(code, 1, 255)] = 0x80;
  return true;
}

std::string MouseToken(int n, const MouseRecord* records) {
  if (n <= 0) return IntToken(n);
  std::string out;
  for (int i = 0; i < n; ++i) {
    if (i) out += ':';
    out += IntToken(records[i].offset) + '.' + IntToken(records[i].data);
  }
  return out;
}

int ParseMouse(std::string_view token, std::vector<MouseRecord>& records) {
  records.clear();
  if (token.find('.') == std::string_view::npos) return static_cast<int>(ParseInt(token, -1, 0));
  for (std::string_view r : SplitAt(token, ':')) {
    size_t dot = r.find('.');
    if (dot == std::string_view::npos) Bad("OFFSET.DATA", r);
    records.push_back({static_cast<uint32_t>(ParseInt(r.substr(0, dot), 0, UINT32_MAX)),
                       static_cast<int32_t>(ParseInt(r.substr(dot + 1), INT32_MIN, INT32_MAX))});
  }
  return static_cast<int>(records.size());
}

std::string RoundToken(const std::vector<PumpEvent>& events) {
  if (events.empty()) return "-";
  std::string out;
  for (const PumpEvent& e : events) {
    if (!out.empty()) out += ':';
    out += e.kind;
    if (e.kind == 'K') out += IntToken(e.key) + '.' + IntToken(e.shift);
  }
  return out;
}

std::vector<PumpEvent> ParseRound(std::string_view token) {
  std::vector<PumpEvent> events;
  if (token == "-") return events;
  for (std::string_view e : SplitAt(token, ':')) {
    if (e == "M" || e == "Q") {
      events.push_back({e[0]});
      continue;
    }
    size_t dot = e.find('.');
    if (e.empty() || e[0] != 'K' || dot == std::string_view::npos)
      Bad("K<code>.<shift>, M or Q", e);
    events.push_back({'K', static_cast<int>(ParseInt(e.substr(1, dot - 1), 1, 255)),
                      static_cast<int>(ParseInt(e.substr(dot + 1), 0, 7))});
  }
  return events;
}

std::string ModesToken(const std::vector<DisplayMode>& modes) {
  if (modes.empty()) return "-";
  std::string out;
  for (const DisplayMode& m : modes) {
    if (!out.empty()) out += ':';
    out += IntToken(m.Width) + 'x' + IntToken(m.Height) + 'x' + IntToken(m.RefreshRate) + 'x' +
           IntToken(m.Format);
  }
  return out;
}

std::vector<DisplayMode> ParseModes(std::string_view token) {
  std::vector<DisplayMode> modes;
  if (token == "-") return modes;
  for (std::string_view m : SplitAt(token, ':')) {
    std::vector<std::string_view> n = SplitAt(m, 'x');
    if (n.size() != 4) Bad("WxHxREFRESHxFORMAT", m);
    modes.push_back({static_cast<int>(ParseInt(n[0], 0, 1 << 20)),
                     static_cast<int>(ParseInt(n[1], 0, 1 << 20)),
                     static_cast<int>(ParseInt(n[2], 0, 1 << 20)),
                     static_cast<int>(ParseInt(n[3], 0, 1 << 20))});
  }
  return modes;
}

}  // namespace platform
