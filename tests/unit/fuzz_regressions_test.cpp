// Replays every committed fuzz input, the seeds (tests/fuzz/corpus/) and every input a
// fuzzer ever broke a parser with (tests/fuzz/regressions/), through the fuzz targets' own
// checks: a broken check aborts the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace {

std::vector<std::string> Inputs(const std::string& kind, const char* target) {
  std::vector<std::string> inputs;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::string(BRIKKA_SOURCE_DIR) + "/tests/fuzz/" + kind + "/" + target, ec)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return inputs;
}

TEST(FuzzInputs, SeedsAndKeptCrashesPassEveryCheck) {
  const std::pair<const char*, void (*)(std::string_view)> targets[] = {
      {"reply", fuzz::Reply},   {"listing", fuzz::Listing},       {"ini", fuzz::Ini},
      {"script", fuzz::Script}, {"highscores", fuzz::Highscores}, {"tape", fuzz::Tape}};
  for (const auto& [name, check] : targets) {
    const std::vector<std::string> seeds = Inputs("corpus", name);
    EXPECT_FALSE(seeds.empty()) << name << " has no seeds";
    for (const std::string& input : seeds) check(input);
    for (const std::string& input : Inputs("regressions", name)) check(input);
  }
}

}  // namespace
