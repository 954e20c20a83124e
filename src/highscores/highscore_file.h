// The highscore table and its file: 50 ranks of nickname and score, kept on disk as the
// keys Nickname1, Score1 ... Nickname50, Score50 of the section "highscores".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brikka {

constexpr int16_t kHighscoreRanks = 50;

// Index = rank - 1. Scores stay the text the file holds, so a hand-edited value shows as
// it stands; only ranking reads them as numbers.
struct HighscoreTable {
  std::array<std::string, kHighscoreRanks> HighscoreScores, HighscoreNicknames;
  // Ranks whose nickname the file did not hold: they show as "0" but move down a rank as
  // an empty nickname, as a fresh read of the missing key below them would give.
  std::array<bool, kHighscoreRanks> NicknameMissing{};
};

// The table the file holds; a missing file or key reads as "0".
HighscoreTable ReadHighscoreFile(const std::string& path);
// The table a file holding `text` holds.
HighscoreTable ParseHighscoreTable(std::string_view text);
// The whole table in one replacement of the file, Nickname1, Score1, ... in rank order;
// false when the file could not be written (it then keeps what it had).
bool WriteHighscoreFile(const std::string& path, const HighscoreTable& table);

// The most a highscore file from elsewhere may weigh: the whole table is a few kilobytes.
constexpr uintmax_t kMaxHighscoreFileBytes = 1u << 20;
// The bytes of a file from elsewhere (the server's copy) when they may stand as the
// highscore file: not empty, not over kMaxHighscoreFileBytes, and holding at least one of
// the table's keys. Nothing otherwise.
std::optional<std::string> HighscoreFileFrom(const std::string& path);

// A stored score as it ranks: a whole number, held to the 32-bit range, or 0 for anything
// that is not a whole number.
int32_t RankingScore(const std::string& stored);
// The rank a new score takes: looking up from rank 50, just below the first score it does
// not beat, so an equal score stays above it. kHighscoreRanks + 1 when it beats not even
// rank 50.
int16_t RankFor(const HighscoreTable& table, int32_t score);
// Ranks `rank` to 49 move down one, the last drops out, and the entry takes `rank`.
void InsertAt(HighscoreTable& table, int16_t rank, const std::string& nickname,
              const std::string& score);
// The page (0 to 4) showing a rank, ten ranks to a page.
int16_t PageOfRank(int16_t rank);

}  // namespace brikka
