// Fuzz target: the INI reader and rewriter. The input's first five lines are a section, two
// keys and their values, the rest is the file. Reads give at most 254 characters on one
// line; a write that is made reads back as written, leaves the other key alone, changes
// nothing when made twice, and a batch of two leaves what writing them in turn leaves.
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/ini.h"

namespace {

constexpr size_t kSize = 255;

std::string_view NextLine(std::string_view& input) {
  const size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

// What a read gives back for a value written: on one line, trimmed, one pair of matching
// quotes taken off, cut to size.
std::string ReadsBackAs(std::string value) {
  for (char& c : value) c = (c == '\r' || c == '\n') ? ' ' : c;
  std::string_view v = Trim(value);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v.substr(0, kSize - 1));
}

}  // namespace

void fuzz::Ini(std::string_view input) {
  const std::string section(NextLine(input)), key1(NextLine(input)), value1(NextLine(input)),
      key2(NextLine(input)), value2(NextLine(input));
  const std::string_view text = input;
  auto read = [&](std::string_view t, const std::string& key) {
    return platform::ProfileStringsIn(t, section, {key}, kSize)[0];
  };

  const std::vector<std::optional<std::string>> both_read =
      platform::ProfileStringsIn(text, section, {key1, key2}, kSize);
  FUZZ_CHECK(both_read.size() == 2);
  FUZZ_CHECK(both_read[0] == read(text, key1) && both_read[1] == read(text, key2));
  for (const std::optional<std::string>& v : both_read) {
    FUZZ_CHECK(!v || (v->size() < kSize && v->find_first_of("\r\n") == std::string::npos));
  }

  const std::optional<std::string> once =
      platform::RewriteProfileText(text, section, {{key1, value1}});
  if (!once) return;
  FUZZ_CHECK(read(*once, key1) == ReadsBackAs(value1));
  const bool same_key = Lowered(Trim(key1)) == Lowered(Trim(key2));
  if (!same_key) FUZZ_CHECK(read(*once, key2) == read(text, key2));
  FUZZ_CHECK(platform::RewriteProfileText(*once, section, {{key1, value1}}) == once);

  const std::optional<std::string> batch =
      platform::RewriteProfileText(text, section, {{key1, value1}, {key2, value2}});
  FUZZ_CHECK(batch == platform::RewriteProfileText(*once, section, {{key2, value2}}));
}

FUZZ_ENTRY(fuzz::Ini)
