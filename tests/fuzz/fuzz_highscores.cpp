// Fuzz target: the highscore table read from any file. Every entry is at most 254
// characters on one line, a missing nickname shows as "0", and a score (read from the
// input's first line as a stored score is) takes the rank just below the last score it
// does not beat, where inserting it puts it.
#include <string>

#include "fuzz_check.h"
#include "highscores/highscore_file.h"

namespace {

bool OneShortLine(const std::string& s) {
  return s.size() <= 254 && s.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

void fuzz::Highscores(std::string_view text) {
  using namespace brikka;
  HighscoreTable table = ParseHighscoreTable(text);
  for (int i = 0; i < kHighscoreRanks; ++i) {
    FUZZ_CHECK(OneShortLine(table.HighscoreScores[i]) && OneShortLine(table.HighscoreNicknames[i]));
    FUZZ_CHECK(!table.NicknameMissing[i] || table.HighscoreNicknames[i] == "0");
  }

  const int32_t score = RankingScore(std::string(text.substr(0, text.find('\n'))));
  const int16_t rank = RankFor(table, score);
  FUZZ_CHECK(rank >= 1 && rank <= kHighscoreRanks + 1);
  FUZZ_CHECK(rank == 1 || score <= RankingScore(table.HighscoreScores[rank - 2]));
  for (int r = rank; r <= kHighscoreRanks; ++r) {
    FUZZ_CHECK(score > RankingScore(table.HighscoreScores[r - 1]));
  }
  if (rank > kHighscoreRanks) return;
  const HighscoreTable before = table;
  InsertAt(table, rank, "FUZZ", std::to_string(score));
  FUZZ_CHECK(table.HighscoreNicknames[rank - 1] == "FUZZ");
  FUZZ_CHECK(RankingScore(table.HighscoreScores[rank - 1]) == score);
  for (int r = rank + 1; r <= kHighscoreRanks; ++r) {
    FUZZ_CHECK(table.HighscoreScores[r - 1] == before.HighscoreScores[r - 2]);
  }
}

FUZZ_ENTRY(fuzz::Highscores)
