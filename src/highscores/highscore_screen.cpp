// The highscore screen's drawing: the background, the title, the buttons, one page of the
// table with the nickname being typed in its row, the players' scores, the prompt and the
// cursor.
#include <string>

#include "game/frm_main.h"
#include "platform/numbers.h"
#include "render/text.h"

namespace brikka {

namespace {

constexpr uint32_t kWhite = platform::D3DColorXRGB(255, 255, 255);
constexpr uint32_t kGrey = platform::D3DColorXRGB(123, 123, 123);
constexpr uint32_t kRed = platform::D3DColorXRGB(255, 0, 0);
const char kFontName[] = "Comic Sans MS";
constexpr int16_t kLastPage = (kHighscoreRanks - 1) / 10;

// A stored score in the score column: a whole number grouped by thousands, anything else
// (a hand-edited word) as it stands.
std::string ScoreText(const std::string& stored) {
  long long value = 0;
  if (!platform::ParseWholeNumber(stored, value)) return stored;
  return FormatNumber(value);
}

}  // namespace

bool frmMain::HighScore_Render() {
  platform::Device* d = Device();
  if (!d) return false;
  d->Clear(0);
  d->BeginScene();
  hs.HsBackground.draw(0, d);
  // The title has a font of its own size; the same object then writes the nickname column
  // at the table's size. Fonts are kept by the device, so this remaking opens nothing.
  fonts.HsTitleText.init(kFontName, 48, true, d);
  fonts.HsTitleText.Render(d, "Highscores", 230, 0, kWhite, false);
  fonts.HsTitleText.init(kFontName, 17, false, d);
  DrawHighscoreButtons();
  DrawHighscorePage();
  DrawPlayersScores();
  if (RightField.EnteringNickname || LeftField.EnteringNickname) {
    fonts.HsRowText.Render(d, "Type your nickname then press Enter", 250, 470, kRed, false);
  }
  Cursor.draw(0, d);
  d->EndScene();
  d->Present();
  return true;
}

// A page button drawn grey is refused by the click handler.
void frmMain::DrawHighscoreButtons() {
  platform::Device* d = Device();
  const bool last = HighscorePage == kLastPage, first = HighscorePage == 0;
  hs.HsNextButton.draw(false, last || !HighscoresAvailable ? kGrey : kWhite, d);
  hs.HsBackButton.draw(false, first || !HighscoresAvailable ? kGrey : kWhite, d);
  hs.HsQuitButton.draw(false, 0, d);
  hs.HsRestartButton.draw(false, 0, d);
  hs.HsMenuButton.draw(false, 0, d);
}

// Ten rows from y 135; the row of a player typing shows that player's score and the typed
// text in red instead of what the table holds there.
void frmMain::DrawHighscorePage() {
  platform::Device* d = Device();
  for (int k = 1; k <= 10; ++k) {
    const int rank = 10 * HighscorePage + k;
    if (rank < 1 || rank > kHighscoreRanks) continue;
    const float y = static_cast<float>(100 + 35 * k);
    const PlayField* typist = nullptr;
    if (rank == RightField.HighscoreRank && RightField.EnteringNickname) {
      typist = &RightField;
    } else if (rank == LeftField.HighscoreRank && LeftField.EnteringNickname) {
      typist = &LeftField;
    }
    if (typist) {
      fonts.HsRowText.Render(d, FormatNumber(typist->Score), 500, y, kWhite, false);
      fonts.HsRowText.Render(d, std::to_string(rank) + ")", 50, y, kWhite, false);
      fonts.HsTitleText.Render(d, NicknameBuffer, 100, y, kRed, false);
    } else {
      fonts.HsTitleText.Render(d, highscores.HighscoreNicknames[rank - 1], 100, y, kWhite, false);
      fonts.HsRowText.Render(d, std::to_string(rank) + ")", 50, y, kWhite, false);
      fonts.HsRowText.Render(d, ScoreText(highscores.HighscoreScores[rank - 1]), 500, y, kWhite,
                             false);
    }
  }
}

// The scores of the game just played, in plain digits; not when the table was opened from
// the menu.
void frmMain::DrawPlayersScores() {
  if (HighscoresFromMenu) return;
  platform::Device* d = Device();
  if (RightField.Score != 0) {
    fonts.HsRowText.Render(d, "Player 1: " + std::to_string(RightField.Score), 420, 100, kRed,
                           false);
  }
  if (settings.Multiplayer && LeftField.Score != 0) {
    fonts.HsRowText.Render(d, "Player 2: " + std::to_string(LeftField.Score), 20, 100, kRed, false);
  }
}

}  // namespace brikka
