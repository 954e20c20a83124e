// Fuzz target: the brikka-sim script reader, line by line as the simulator reads a script.
// A line is read or refused with a ScriptError, never anything else; what is read fits what
// the simulator does with it (key codes in a byte, positions in a float, cells in the well,
// files in the data folder).
#include <cmath>
#include <limits>
#include <string>

#include "fuzz_check.h"
#include "sim/script.h"

namespace {

void Check(const std::string& line, const brikka::sim::ScriptCommand& c) {
  const std::string& n = c.name;
  FUZZ_CHECK(n.empty() == (line.find_first_not_of(" \t\n\v\f\r") == std::string::npos ||
                           line[line.find_first_not_of(" \t\n\v\f\r")] == '#'));
  for (int key : c.keys) FUZZ_CHECK(key >= 0 && key <= 255);
  if (n == "setpiece") {
    FUZZ_CHECK(c.numbers.size() == 1 && c.numbers[0] >= 0 && c.numbers[0] <= 7);
    for (double d : {c.x, c.y}) {
      FUZZ_CHECK(std::isfinite(d) && std::fabs(d) <= std::numeric_limits<float>::max());
    }
  }
  for (const auto& [col, row] : c.cells) FUZZ_CHECK(col >= 1 && col <= 10 && row >= 1 && row <= 21);
  if (n == "ini") {
    FUZZ_CHECK(!c.file.empty() && c.file.find_first_of("/\\") == std::string::npos);
    FUZZ_CHECK(c.file != "." && c.file != "..");
    FUZZ_CHECK(line.size() >= c.text.size() && line.ends_with(c.text));
  }
}

}  // namespace

void fuzz::Script(std::string_view input) {
  while (!input.empty()) {
    const size_t end = input.find('\n');
    std::string line(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    try {
      Check(line, brikka::sim::ReadScriptLine(line));
    } catch (const brikka::sim::ScriptError&) {
    }
  }
}

FUZZ_ENTRY(fuzz::Script)
