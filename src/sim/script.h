// Reading one line of a brikka-sim script: its command and arguments, checked, with nothing
// run. The simulator acts on what this gives; a line it cannot read throws ScriptError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace brikka::sim {

struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ScriptCommand {
  std::string name;  // the first word; empty for a blank line or a comment
  // Whole numbers in the order the command names them, each within its command's range
  // (seed, frames, wait, pass-ms, mouse DX DY, clickat X Y, setpiece TYPE, quake N).
  std::vector<long> numbers;
  double x = 0, y = 0;                     // setpiece X Y: finite, and within a float
  bool right = true;                       // SIDE of setblocks and setpiece
  std::vector<std::pair<int, int>> cells;  // setblocks: column 1..10, row 1..21
  // hold/release: the key's DirectInput code; press: its virtual key; type: the virtual key
  // of each character.
  std::vector<int> keys;
  // The text the command carries: ini's VALUE, shot's and replay's FILE, answer's and
  // focus's word.
  std::string text;
  std::string file, section, key_name;  // ini FILE SECTION KEY
  // exchange HOST[:PORT] [upload] [timeout SECONDS]: the server, the direction; SECONDS, when
  // given, is the one number.
  std::string host;
  int32_t port = 21;
  bool upload = false;
};

ScriptCommand ReadScriptLine(const std::string& line);

}  // namespace brikka::sim
