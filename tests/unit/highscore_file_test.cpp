// The highscore file: hostile contents read without harm, shown as stored and ranked by
// their numbers, and saves that a crash never leaves half done.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "highscores_support.h"

namespace brikka {
namespace {

using testing::FileOf;
using testing::HighscoreGame;
using testing::RowsOf;
using testing::TableRows;

struct HostileCase {
  const char* name;
  std::string bytes;
  TableRows shown;                            // the table at start-up
  int16_t rank;                               // where a score of 50 goes
  std::pair<std::string, std::string> below;  // the row then under it
};

// A missing key shows as "0" but moves down as an empty nickname.
std::vector<HostileCase> HostileFiles() {
  std::vector<HostileCase> cases;
  const TableRows zeros(50, {"0", "0"});
  std::mt19937 gen(99);
  std::string junk;
  const char alphabet[] = {'\0', '\r', '\n', '[', ']', '=', ';', 'S', '1', '\xff'};
  for (size_t i = 0; i < 200000; ++i) junk += i % 3 ? char(gen()) : alphabet[gen() % 10];
  cases.push_back({"binary junk", junk, zeros, 1, {"", "0"}});

  TableRows odd = zeros;
  odd[0] = {"big", "99999999999"};
  odd[1] = {"word", "abc"};
  odd[2] = {"minus", "-5"};
  // Only a number 50 does not beat stays above it: "abc" ranks as 0 and is shown as stored.
  cases.push_back({"odd scores", FileOf({odd[0], odd[1], odd[2]}), odd, 2, odd[1]});

  const std::string line(10000, 'x'), digits(10000, '9');
  std::string long_lines = line + "\n[highscores]\n" + line + "\nNickname1=" + line +
                           "\nScore1=" + digits + "\n" + line + "=" + line + "\n";
  TableRows cut = zeros;
  cut[0] = {std::string(254, 'x'), std::string(254, '9')};
  cases.push_back({"10,000-character lines", long_lines, cut, 2, {"", "0"}});
  return cases;
}

// Whatever the file holds, the game starts, shows it as stored, places a score by its
// number and saves a table that reads back as it stands.
TEST(HighscoreFile, HostileFilesStartShowPlaceAndSave) {
  for (const HostileCase& c : HostileFiles()) {
    SCOPED_TRACE(c.name);
    HighscoreGame t(c.bytes);
    t.StartGame();
    EXPECT_EQ(t.Table(), c.shown);
    t.Lose(PlayerSide::Right, 50);
    ASSERT_EQ(t.right().HighscoreRank, c.rank);
    t.Enter();
    EXPECT_EQ(t.Table()[c.rank - 1], std::make_pair(std::string("Player 1"), std::string("50")));
    EXPECT_EQ(t.Table()[c.rank], c.below);
    EXPECT_EQ(t.Table(), t.Saved());
  }
}

// A save killed at any moment leaves the old table or the new one, never a mixture and
// never a part.
TEST(HighscoreFile, ASaveKilledAtAnyMomentLeavesTheOldTableOrTheNew) {
  testing::TempDir dir("brikka-hs-crash");
  const std::string path = dir.file("brikka_highscores.ini");
  HighscoreTable a, b;
  for (int i = 0; i < kHighscoreRanks; ++i) {
    a.HighscoreNicknames[i] = "a" + std::to_string(i);
    b.HighscoreNicknames[i] = "b" + std::to_string(i);
    a.HighscoreScores[i] = b.HighscoreScores[i] = std::to_string(100000 - i);
  }
  ASSERT_TRUE(WriteHighscoreFile(path, a));
  std::mt19937 gen(2024);
  int seen_b = 0;
  for (int round = 0; round < 200; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned n = 0;; ++n) WriteHighscoreFile(path, n % 2 ? a : b);
    }
    usleep(gen() % 3000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const TableRows got = RowsOf(ReadHighscoreFile(path));
    const bool old_or_new = got == RowsOf(a) || got == RowsOf(b);
    ASSERT_TRUE(old_or_new) << "round " << round;
    seen_b += got == RowsOf(b);
  }
  EXPECT_GT(seen_b, 0);  // the saves did run
}

}  // namespace
}  // namespace brikka
