// The highscore table in play: where a lost game's score goes, the nickname entry, both
// players reaching the table, and the menu's way to the screen.
#include <algorithm>
#include <filesystem>
#include <iterator>

#include "highscores_support.h"

namespace brikka {
namespace {

using testing::HighscoreGame;
using testing::StandardRows;
using testing::TableRows;
namespace vk = platform::vk;

// The table after a score is placed by the rules as players know them: below every score
// it does not beat, pushing the last entry out.
TableRows Placed(TableRows rows, int32_t score, const std::string& nickname) {
  size_t at = 0;
  while (at < rows.size() && std::stoll(rows[at].second) >= score) ++at;
  if (at < rows.size()) {
    rows.insert(rows.begin() + at, {nickname, std::to_string(score)});
    rows.pop_back();
  }
  return rows;
}

struct OnePlayerCase {
  const char* name;
  TableRows file;
  int32_t score;
  int16_t rank, page;  // rank 0: no place
  bool available = true;
};

TEST(HighscorePlacement, OnePlayersScoreTakesItsRankAndIsSavedUnderTheTypedName) {
  TableRows high = StandardRows();
  high[0].second = "35000";  // above what a 16-bit comparison can hold
  const OnePlayerCase cases[] = {
      {"equal to rank 7 goes below it", StandardRows(), 4400, 8, 0},
      {"above all takes rank 1", StandardRows(), 9999, 1, 0},
      {"between ranks 9 and 10", StandardRows(), 4150, 10, 0},
      {"between ranks 10 and 11", StandardRows(), 4050, 11, 1},
      {"just above rank 50", StandardRows(), 150, 50, 4},
      {"equal to rank 50 has no place", StandardRows(), 100, 0, 0},
      {"40,000 beats 35,000", high, 40000, 1, 0},
      {"30,000 stays below 35,000", high, 30000, 2, 0},
      {"no place while highscores are unavailable", StandardRows(), 9999, 0, 0, false},
  };
  for (const OnePlayerCase& c : cases) {
    SCOPED_TRACE(c.name);
    HighscoreGame t(testing::FileOf(c.file));
    t.StartGame();
    t.g().HighscoresAvailable = c.available;
    t.Lose(kRight, c.score);
    ASSERT_EQ(t.g().Screen, 3);
    EXPECT_EQ(t.right().HighscoreRank, c.rank);
    EXPECT_EQ(t.right().MadeHighscore, c.rank != 0);
    EXPECT_EQ(t.right().EnteringNickname, c.rank != 0);
    EXPECT_EQ(t.g().HighscorePage, c.page);
    if (c.rank == 0) {
      EXPECT_EQ(t.Table(), c.file);
      t.Type("X");
      t.Enter();
      EXPECT_EQ(t.Saved(), c.file);  // nothing typed, nothing saved
      continue;
    }
    EXPECT_EQ(t.g().NicknameBuffer, "Player 1");
    t.Type("\b\b\b\b\b\b\b\bZOE");
    t.Enter();
    EXPECT_FALSE(t.right().EnteringNickname);
    const TableRows want = Placed(c.file, c.score, "ZOE");
    EXPECT_EQ(t.Table(), want);
    EXPECT_EQ(t.Saved(), want);
  }
}

TEST(HighscorePlacement, NoFileShowsZerosAndTheFirstGameWritesAllHundredKeys) {
  HighscoreGame t("");
  t.StartGame();
  EXPECT_EQ(t.Table(), TableRows(50, {"0", "0"}));
  t.Lose(kRight, 1240);
  EXPECT_EQ(t.right().HighscoreRank, 1);
  t.Enter();
  std::string want = "[highscores]\r\nNickname1=Player 1\r\nScore1=1240\r\n";
  for (int i = 2; i <= 50; ++i) {
    want += "Nickname" + std::to_string(i) + "=\r\nScore" + std::to_string(i) + "=0\r\n";
  }
  std::ifstream in(t.g().HighscoresPath(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), want);
  TableRows rows(50, {"", "0"});
  rows[0] = {"Player 1", "1240"};
  EXPECT_EQ(t.Table(), rows);
}

TEST(NicknameEntry, KeysEditTheBufferEnterSavesItAndEscapeEndsTheProgram) {
  HighscoreGame t("");
  t.StartGame();
  t.Lose(kRight, 500);
  t.Type("AB\b");
  EXPECT_EQ(t.g().NicknameBuffer, "Player 1A");
  t.g().Form_KeyDown(vk::Shift, 0);  // no character: codes outside 32..126 type nothing
  t.g().Form_KeyDown(189, 0);        // the minus key
  t.g().Form_KeyDown(vk::Up, 0);     // 38 is the code of '&'
  t.Type("x7 ");                     // letter keys give capitals
  EXPECT_EQ(t.g().NicknameBuffer, "Player 1A&X7 ");
  t.Type(std::string(20, '\b'));  // Backspace on an empty buffer does nothing
  EXPECT_EQ(t.g().NicknameBuffer, "");
  t.Type(std::string(300, 'W'));  // no more than the file gives back
  EXPECT_EQ(t.g().NicknameBuffer, std::string(254, 'W'));
  t.Type(std::string(254, '\b'));
  t.Enter();  // an empty name is saved empty
  EXPECT_EQ(t.Saved()[0], std::make_pair(std::string(), std::string("500")));
  EXPECT_EQ(t.Saved(), t.Table());
  HighscoreGame other("");  // Escape ends the program even while typing
  other.StartGame();
  other.Lose(kRight, 500);
  other.g().Form_KeyDown(vk::Escape, 0);
  EXPECT_TRUE(other.g().Ended());
  EXPECT_EQ(other.g().NicknameBuffer, "Player 1");
}

// A table that cannot be saved stays in memory: reading the old file back would lose the
// name and shift the row player 2 is about to name.
TEST(NicknameEntry, AFailedSaveKeepsTheTableAndPlayer2sRow) {
  HighscoreGame t("", {.multiplayer = true});
  t.StartGame();
  std::filesystem::create_directory(t.g().HighscoresPath());
  t.Lose(kLeft, 300);
  t.Lose(kRight, 700);
  t.Type("\b\b\b\b\b\b\b\bONE");
  t.Enter();
  ASSERT_TRUE(t.left().EnteringNickname);
  EXPECT_EQ(t.left().HighscoreRank, 2);
  t.Type("\b\b\b\b\b\b\b\bTWO");
  t.Enter();
  EXPECT_EQ(t.Table()[0], std::make_pair(std::string("ONE"), std::string("700")));
  EXPECT_EQ(t.Table()[1], std::make_pair(std::string("TWO"), std::string("300")));
}

struct TwoPlayerCase {
  const char* name;
  int32_t p1, p2;
  bool p2_loses_first;
};

// Whatever the order of the losses and scores, each score ends in the table once under
// its own player's name, the earlier entries keep their order, and player 1 types first.
TEST(TwoPlayers, EachScoreIsSavedOnceUnderItsOwnNickname) {
  const TwoPlayerCase cases[] = {
      {"player 2 first, higher", 4450, 4950, true},
      {"player 2 first, lower", 4950, 4450, true},
      {"player 2 last, higher", 4450, 4950, false},
      {"player 2 last, lower", 4950, 4450, false},
      {"equal, player 2 first", 3000, 3000, true},
      {"equal, player 2 last", 3000, 3000, false},
      {"player 1 off the table, player 2 first", 50, 4450, true},
      {"player 1 off the table, player 2 last", 50, 4450, false},
      {"player 2 off the table", 4450, 100, true},
      {"player 1 pushed off rank 50 by player 2", 150, 4450, false},
      {"player 2 pushed off rank 50 by player 1", 4450, 150, true},
  };
  for (const TwoPlayerCase& c : cases) {
    SCOPED_TRACE(c.name);
    HighscoreGame t(testing::FileOf(StandardRows()), {.multiplayer = true});
    t.StartGame();
    const PlayerSide first = c.p2_loses_first ? kLeft : kRight;
    const PlayerSide second = c.p2_loses_first ? kRight : kLeft;
    t.Lose(first, first == kRight ? c.p1 : c.p2);
    EXPECT_EQ(t.g().Screen, 2);
    t.Lose(second, second == kRight ? c.p1 : c.p2);
    ASSERT_EQ(t.g().Screen, 3);

    TableRows want = StandardRows();
    want = c.p2_loses_first ? Placed(Placed(want, c.p2, "TWO"), c.p1, "ONE")
                            : Placed(Placed(want, c.p1, "ONE"), c.p2, "TWO");
    for (PlayerSide side : {kRight, kLeft}) {
      const bool listed = std::count(want.begin(), want.end(),
                                     std::make_pair(std::string(side == kRight ? "ONE" : "TWO"),
                                                    std::to_string(side == kRight ? c.p1 : c.p2)));
      if (!listed) continue;
      PlayField& f = t.g().Field(side);
      ASSERT_TRUE(f.EnteringNickname) << (side == kRight ? "player 1" : "player 2");
      EXPECT_EQ(t.g().NicknameBuffer, side == kRight ? "Player 1" : "Player 2");
      EXPECT_EQ(t.g().HighscorePage, (f.HighscoreRank - 1) / 10);
      EXPECT_EQ(t.Table()[f.HighscoreRank - 1].second, std::to_string(f.Score));
      t.Type("\b\b\b\b\b\b\b\b");
      t.Type(side == kRight ? "ONE" : "TWO");
      t.Enter();
    }
    EXPECT_FALSE(t.right().EnteringNickname || t.left().EnteringNickname);
    EXPECT_EQ(t.Table(), want);
    EXPECT_EQ(t.Saved(), want);
  }
}

TEST(HighscoresFromMenu, TheMenusButtonShowsTheTableWithNoOneTyping) {
  HighscoreGame t("");
  t.StartGame();
  t.Lose(kRight, 500);
  t.g().Screen = 1;
  t.g().menu.MenuHighscoresButton.Grayed = true;
  t.g().OpenHighscoresFromMenu();
  EXPECT_EQ(t.g().Screen, 1);
  t.g().menu.MenuHighscoresButton.Grayed = false;
  t.g().OpenHighscoresFromMenu();
  EXPECT_EQ(t.g().Screen, 3);
  EXPECT_TRUE(t.g().HighscoresFromMenu);
  EXPECT_FALSE(t.right().MadeHighscore || t.right().EnteringNickname);
  t.Type("Q");
  EXPECT_EQ(t.g().NicknameBuffer, "Player 1");  // nothing is typed
}

}  // namespace
}  // namespace brikka
