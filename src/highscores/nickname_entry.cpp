// The nickname entry on the highscore screen: the typed keys, Enter, and whose prompt comes
// next. Player 1 always types first.
#include "game/frm_main.h"
#include "platform/keycodes.h"

namespace brikka {

namespace vk = platform::vk;

namespace {
// A value longer than this does not come back from the file, so the entry takes no more:
// what the player sees is what is kept.
constexpr size_t kNicknameLimit = 254;
}  // namespace

bool frmMain::NicknameEntryActive() const {
  return Screen == 3 && HighscoresAvailable &&
         (RightField.EnteringNickname || LeftField.EnteringNickname);
}

// Player 1's prompt starts with the placement; player 2's once player 1 has lost and is not
// typing.
void frmMain::PromptNextPlayer() {
  if (RightField.PromptPending) {
    StartNicknamePrompt(PlayerSide::Right);
  } else if (LeftField.PromptPending && !RightField.EnteringNickname && RightField.GameOver) {
    StartNicknamePrompt(PlayerSide::Left);
  }
}

void frmMain::StartNicknamePrompt(PlayerSide side) {
  PlayField& f = Field(side);
  f.PromptPending = false;
  f.EnteringNickname = true;
  NicknameBuffer = side == PlayerSide::Right ? "Player 1" : "Player 2";
  HighscorePage = PageOfRank(f.HighscoreRank);
}

// Key codes are virtual-key codes taken as characters, with no shift: letter keys give
// capitals, and every code from 32 to 126 types its character.
void frmMain::NicknameKey(int KeyCode) {
  if (KeyCode >= vk::Space && KeyCode <= 126) {
    if (NicknameBuffer.size() < kNicknameLimit) NicknameBuffer += static_cast<char>(KeyCode);
  } else if (KeyCode == vk::Back && !NicknameBuffer.empty()) {
    NicknameBuffer.pop_back();
  }
  if (KeyCode == vk::Return) NicknameEntered();
}

// The typed name goes into the typist's row as it stands and the whole table is saved. When
// player 2 also made the table, player 2's prompt follows.
void frmMain::NicknameEntered() {
  PlayField& typist = RightField.EnteringNickname ? RightField : LeftField;
  const bool player2Next = &typist == &RightField && LeftField.PromptPending;
  typist.EnteringNickname = false;
  const int16_t rank = typist.HighscoreRank;
  if (rank >= 1 && rank <= kHighscoreRanks) {
    highscores.HighscoreNicknames[rank - 1] = NicknameBuffer;
    highscores.NicknameMissing[rank - 1] = false;
  }
  // A table that could not be saved stays as it is in memory: reading the old file back
  // would lose this name and move the row player 2 is about to name.
  if (FillHighscoresFile()) FillHighscores();
  if (player2Next) {
    StartNicknamePrompt(PlayerSide::Left);
  } else {
    UpdateGameServer();
  }
}

}  // namespace brikka
