// Reading, writing and ranking the highscore table.
#include "highscores/highscore_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "menu/ini.h"
#include "platform/files.h"

namespace brikka {

namespace {
const char kSection[] = "highscores";

std::string NicknameKey(int rank) {
  return "Nickname" + std::to_string(rank);
}
std::string ScoreKey(int rank) {
  return "Score" + std::to_string(rank);
}
// Score1, Nickname1, ... Score50, Nickname50.
std::vector<std::string> TableKeys() {
  std::vector<std::string> keys;
  for (int rank = 1; rank <= kHighscoreRanks; ++rank) {
    keys.push_back(ScoreKey(rank));
    keys.push_back(NicknameKey(rank));
  }
  return keys;
}
}  // namespace

HighscoreTable ReadHighscoreFile(const std::string& path) {
  std::string text;
  platform::ReadWholeFile(path, text);  // a file that cannot be read stays empty: no keys
  return ParseHighscoreTable(text);
}

HighscoreTable ParseHighscoreTable(std::string_view text) {
  // One scan of the text for all 100 keys: a hostile file is scanned once, not 100 times.
  const std::vector<std::optional<std::string>> values = IniValuesIn(text, kSection, TableKeys());
  HighscoreTable table;
  for (int i = 0; i < kHighscoreRanks; ++i) {
    const std::optional<std::string>& score = values[2 * i];
    const std::optional<std::string>& nickname = values[2 * i + 1];
    table.HighscoreScores[i] = score.value_or("0");
    table.HighscoreNicknames[i] = nickname.value_or("0");
    table.NicknameMissing[i] = !nickname.has_value();
  }
  return table;
}

bool WriteHighscoreFile(const std::string& path, const HighscoreTable& table) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < kHighscoreRanks; ++i) {
    entries.emplace_back(NicknameKey(i + 1), table.HighscoreNicknames[i]);
    entries.emplace_back(ScoreKey(i + 1), table.HighscoreScores[i]);
  }
  return IniWriteAll(path, kSection, entries);
}

// Digits beyond the 32-bit range still rank above (or below) every real score, so they
// are held at its ends rather than read as garbage or refused.
int32_t RankingScore(const std::string& stored) {
  size_t i = 0, n = stored.size();
  while (i < n && (stored[i] == ' ' || stored[i] == '\t')) ++i;
  const bool negative = i < n && stored[i] == '-';
  if (i < n && (stored[i] == '+' || stored[i] == '-')) ++i;
  const size_t first_digit = i;
  int64_t magnitude = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < n && std::isdigit(static_cast<unsigned char>(stored[i])); ++i) {
    magnitude = std::min(kLimit, magnitude * 10 + (stored[i] - '0'));
  }
  while (i < n && (stored[i] == ' ' || stored[i] == '\t')) ++i;
  if (i == first_digit || i != n) return 0;
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

int16_t RankFor(const HighscoreTable& table, int32_t score) {
  for (int16_t rank = kHighscoreRanks; rank >= 1; --rank) {
    if (score <= RankingScore(table.HighscoreScores[rank - 1])) return rank + 1;
  }
  return 1;
}

void InsertAt(HighscoreTable& table, int16_t rank, const std::string& nickname,
              const std::string& score) {
  if (rank < 1 || rank > kHighscoreRanks) return;
  for (int i = kHighscoreRanks - 1; i >= rank; --i) {
    table.HighscoreScores[i] = std::move(table.HighscoreScores[i - 1]);
    const bool missing = table.NicknameMissing[i - 1];
    table.HighscoreNicknames[i] = missing ? "" : std::move(table.HighscoreNicknames[i - 1]);
    table.NicknameMissing[i] = false;
  }
  table.HighscoreScores[rank - 1] = score;
  table.HighscoreNicknames[rank - 1] = nickname;
  table.NicknameMissing[rank - 1] = false;
}

int16_t PageOfRank(int16_t rank) {
  return rank < 1 ? 0 : static_cast<int16_t>((rank - 1) / 10);
}

std::optional<std::string> HighscoreFileFrom(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxHighscoreFileBytes) return std::nullopt;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes) || bytes.size() > kMaxHighscoreFileBytes) {
    return std::nullopt;
  }
  const auto values = IniValuesIn(bytes, kSection, TableKeys());
  if (std::none_of(values.begin(), values.end(), [](const auto& v) { return v.has_value(); })) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace brikka
