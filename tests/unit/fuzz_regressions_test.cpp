// Replays every committed fuzz input, the seeds (tests/fuzz/corpus/) and every input a
// fuzzer ever broke a parser with (tests/fuzz/regressions/), through the fuzz targets' own
// checks: a broken check aborts the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace {

struct Target {
  const char* name;
  void (*check)(std::string_view);
};

constexpr Target kTargets[] = {
    {"reply", fuzz::Reply},   {"listing", fuzz::Listing},       {"ini", fuzz::Ini},
    {"script", fuzz::Script}, {"highscores", fuzz::Highscores}, {"tape", fuzz::Tape}};

std::vector<std::string> Inputs(const char* kind, const char* target) {
  std::vector<std::string> inputs;
  const std::filesystem::path dir =
      std::filesystem::path(BRIKKA_SOURCE_DIR) / "tests" / "fuzz" / kind / target;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return inputs;
}

TEST(FuzzInputs, SeedsAndKeptCrashesPassEveryCheck) {
  for (const Target& t : kTargets) {
    const std::vector<std::string> seeds = Inputs("corpus", t.name);
    EXPECT_FALSE(seeds.empty()) << t.name << " has no seeds";
    for (const std::string& input : seeds) t.check(input);
    for (const std::string& input : Inputs("regressions", t.name)) t.check(input);
  }
}

}  // namespace
