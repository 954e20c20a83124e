// The script reader: words, whole numbers and decimals in range, key names, sides and cells.
#include "sim/script.h"

#include <cmath>
#include <limits>

#include "net/host_port.h"
#include "platform/keycodes.h"
#include "platform/numbers.h"

namespace brikka::sim {

namespace {

// Words are separated by any blank, as the text a command carries is found after them.
constexpr const char* kBlanks = " \t\n\v\f\r";

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> words;
  for (size_t pos = line.find_first_not_of(kBlanks); pos != std::string::npos;) {
    const size_t end = line.find_first_of(kBlanks, pos);
    words.push_back(line.substr(pos, end - pos));
    pos = end == std::string::npos ? end : line.find_first_not_of(kBlanks, end);
  }
  return words;
}

// The text after the first `skip` words of the line.
std::string RestAfter(const std::string& line, size_t skip) {
  size_t pos = 0;
  for (size_t i = 0; i < skip; ++i) {
    pos = line.find_first_not_of(kBlanks, pos);
    pos = line.find_first_of(kBlanks, pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(kBlanks, pos);
  return pos == std::string::npos ? "" : line.substr(pos);
}

long Number(const std::string& word, long lo, long hi) {
  long long v = 0;
  if (!platform::ParseWholeNumber(word, v) || v < lo || v > hi) {
    throw ScriptError("expected a whole number from " + std::to_string(lo) + " to " +
                      std::to_string(hi) + ", got '" + word + "'");
  }
  return static_cast<long>(v);
}

// A pixel position: the game keeps it in a float, so nothing beyond one (nor "nan" or
// "inf") may come in.
double Decimal(const std::string& word) {
  try {
    size_t used = 0;
    const double d = std::stod(word, &used);
    if (used == word.size() && std::isfinite(d) &&
        std::fabs(d) <= std::numeric_limits<float>::max()) {
      return d;
    }
  } catch (const std::exception&) {
  }
  throw ScriptError("expected a number, got '" + word + "'");
}

void Expect(const std::vector<std::string>& w, size_t n, const char* usage) {
  if (w.size() != n) throw ScriptError(std::string("usage: ") + usage);
}

bool RightSide(const std::string& word) {
  if (word == "right") return true;
  if (word == "left") return false;
  throw ScriptError("SIDE must be right or left, got '" + word + "'");
}

int Key(int code, const std::string& name) {
  if (code < 0) throw ScriptError("unknown key '" + name + "'");
  return code;
}

void ReadIni(const std::vector<std::string>& w, const std::string& line, ScriptCommand& c) {
  if (w.size() < 4) throw ScriptError("usage: ini FILE SECTION KEY VALUE");
  c.file = w[1];
  if (c.file.find('/') != std::string::npos || c.file.find('\\') != std::string::npos ||
      c.file == "." || c.file == "..") {
    throw ScriptError("FILE is a file name in the data folder, got '" + c.file + "'");
  }
  c.section = w[2];
  c.key_name = w[3];
  c.text = RestAfter(line, 4);
}

void ReadCells(const std::vector<std::string>& w, ScriptCommand& c) {
  if (w.size() < 2) throw ScriptError("usage: setblocks SIDE C,R ...");
  c.right = RightSide(w[1]);
  for (size_t i = 2; i < w.size(); ++i) {
    const size_t comma = w[i].find(',');
    if (comma == std::string::npos) throw ScriptError("blocks are C,R, got '" + w[i] + "'");
    c.cells.emplace_back(static_cast<int>(Number(w[i].substr(0, comma), 1, 10)),
                         static_cast<int>(Number(w[i].substr(comma + 1), 1, 21)));
  }
}

void ReadExchange(const std::vector<std::string>& w, ScriptCommand& c) {
  constexpr const char* kUsage = "exchange HOST[:PORT] [upload] [timeout SECONDS]";
  if (w.size() < 2) throw ScriptError(std::string("usage: ") + kUsage);
  if (std::string why = net::ParseHostPort(w[1], c.host, c.port); !why.empty()) {
    throw ScriptError(why);
  }
  for (size_t i = 2; i < w.size(); ++i) {
    long long seconds = 0;
    if (w[i] == "upload") {
      c.upload = true;
    } else if (w[i] == "timeout" && i + 1 < w.size() &&
               platform::ParseWholeNumber(w[i + 1], seconds) && seconds >= 1 && seconds <= 32767) {
      c.numbers = {static_cast<long>(seconds)};
      ++i;
    } else {
      throw ScriptError(std::string("usage: ") + kUsage + " (SECONDS from 1 to 32767)");
    }
  }
}

}  // namespace

ScriptCommand ReadScriptLine(const std::string& line) {
  const std::vector<std::string> w = Split(line);
  ScriptCommand c;
  if (w.empty() || w[0][0] == '#') return c;
  c.name = w[0];
  const std::string& cmd = c.name;
  if (cmd == "seed") {
    Expect(w, 2, "seed N");
    c.numbers = {Number(w[1], 0, 2147483647)};
  } else if (cmd == "ini") {
    ReadIni(w, line, c);
  } else if (cmd == "start") {
    Expect(w, 1, "start");
  } else if (cmd == "replay") {
    if (w.size() < 2) throw ScriptError("usage: replay FILE");
    c.text = RestAfter(line, 1);
  } else if (cmd == "startgame") {
  } else if (cmd == "frames") {
    Expect(w, 2, "frames N");
    c.numbers = {Number(w[1], 0, 100000000)};
  } else if (cmd == "wait") {
    Expect(w, 2, "wait MS");
    c.numbers = {Number(w[1], 0, 1000000000)};
  } else if (cmd == "pass-ms") {
    Expect(w, 2, "pass-ms N");
    c.numbers = {Number(w[1], 0, 100000)};
  } else if (cmd == "hold" || cmd == "release") {
    Expect(w, 2, "hold KEY | release KEY");
    c.keys = {Key(platform::DirectInputCodeByName(w[1]), w[1])};
  } else if (cmd == "press") {
    Expect(w, 2, "press KEY");
    c.keys = {Key(platform::VirtualKeyByName(w[1]), w[1])};
  } else if (cmd == "type") {
    for (char ch : RestAfter(line, 1)) {
      const int vk = platform::VirtualKeyForChar(ch);
      if (vk < 0) throw ScriptError("no key types the character " + std::to_string(ch & 0xFF));
      c.keys.push_back(vk);
    }
  } else if (cmd == "mouse") {
    Expect(w, 3, "mouse DX DY");
    c.numbers = {Number(w[1], -100000, 100000), Number(w[2], -100000, 100000)};
  } else if (cmd == "click" || cmd == "lose-device" || cmd == "dump") {
    Expect(w, 1, cmd.c_str());
  } else if (cmd == "clickat") {
    Expect(w, 3, "clickat X Y");
    c.numbers = {Number(w[1], 0, 832), Number(w[2], 0, 632)};
  } else if (cmd == "answer") {
    Expect(w, 2, "answer ok|retry|cancel");
    if (w[1] != "ok" && w[1] != "retry" && w[1] != "cancel") {
      throw ScriptError("answer must be ok, retry or cancel");
    }
    c.text = w[1];
  } else if (cmd == "setblocks") {
    ReadCells(w, c);
  } else if (cmd == "setpiece") {
    Expect(w, 5, "setpiece SIDE TYPE X Y");
    c.right = RightSide(w[1]);
    c.numbers = {Number(w[2], 0, 7)};
    c.x = Decimal(w[3]);
    c.y = Decimal(w[4]);
  } else if (cmd == "focus") {
    if (w.size() != 2 || (w[1] != "out" && w[1] != "in")) throw ScriptError("usage: focus out|in");
    c.text = w[1];
  } else if (cmd == "shot") {
    Expect(w, 2, "shot FILE");
    c.text = w[1];
  } else if (cmd == "quake") {
    Expect(w, 2, "quake N");
    c.numbers = {Number(w[1], -32768, 32767)};
  } else if (cmd == "exchange") {
    ReadExchange(w, c);
  } else {
    throw ScriptError("unknown command '" + cmd + "'");
  }
  return c;
}

}  // namespace brikka::sim
