// The highscore table in play: its pictures and load at start-up, its file, a lost game's
// place in it, and the main menu's way to it.
#include "game/frm_main.h"

namespace brikka {

// The screen's pictures, the five fonts it shares with the play screen, then the table.
void frmMain::InitHighscore() {
  MakeHighscorePictures();
  fonts.HsRowText.init("Comic Sans MS", 17, false, Device());
  fonts.HsTitleText.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextA.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextB.init("Comic Sans MS", 17, false, Device());
  fonts.PlayTextBold.init("Comic Sans MS", 17, true, Device());
  FillHighscores();
  HighscorePage = 0;
}

void frmMain::MakeHighscorePictures() {
  const double W = dx.swidth, H = dx.sheight;
  const std::string texs = AppPath() + "\\Texs\\";
  hs.HsBackground.init(W / 800 * 800, H / 600 * 600, 0, 0, texs + "bck.tga", 800, 600, Device());
  struct Place {
    cButton* button;
    double left;
    const char *up, *down;
  };
  const Place buttons[] = {
      {&hs.HsNextButton, 650, "up_next.tga", "down_next.tga"},
      {&hs.HsBackButton, 0, "up_back.tga", "down_back.tga"},
      {&hs.HsRestartButton, 180, "up_restart.tga", "down_restart.tga"},
      {&hs.HsMenuButton, 330, "up_menu.tga", "down_menu.tga"},
      {&hs.HsQuitButton, 480, "up_quit.tga", "down_quit.tga"},
  };
  for (const Place& b : buttons) {
    b.button->init(W / 800 * 150, H / 600 * 45, b.left, 500, texs + b.up, texs + b.down, 200, 60,
                   Device());
  }
}

std::string frmMain::HighscoresPath() const {
  return plat_.data_dir + "/brikka_highscores.ini";
}

// Reading the file back drops any score placed since the last save, so no placement is
// left waiting for a prompt.
void frmMain::FillHighscores() {
  highscores = ReadHighscoreFile(HighscoresPath());
  RightField.PromptPending = false;
  LeftField.PromptPending = false;
}

bool frmMain::FillHighscoresFile() {
  return WriteHighscoreFile(HighscoresPath(), highscores);
}

// The lost well's score takes its rank and its player is asked for a nickname; a score that
// beats not even rank 50 has no place and asks nothing.
void frmMain::CheckForHighscore(bool bRight) {
  if (!HighscoresAvailable) return;
  const PlayerSide side = bRight ? PlayerSide::Right : PlayerSide::Left;
  PlayField& f = Field(side);
  f.MadeHighscore = false;
  f.HighscoreRank = 0;
  const int16_t rank = RankFor(highscores, f.Score);
  if (rank <= kHighscoreRanks) PlaceScore(side, rank);
  PromptNextPlayer();
}

// The table in memory is the one both players' scores go into, so a second placement sees
// the first. A score still waiting for its nickname moves down with its row; pushed off the
// table, its player has nothing left to name.
void frmMain::PlaceScore(PlayerSide side, int16_t rank) {
  for (PlayField* o : {&RightField, &LeftField}) {
    if (!o->MadeHighscore || !(o->EnteringNickname || o->PromptPending)) continue;
    if (o->HighscoreRank < rank) continue;
    if (++o->HighscoreRank > kHighscoreRanks) {
      o->MadeHighscore = o->EnteringNickname = o->PromptPending = false;
      o->HighscoreRank = 0;
    } else if (o->EnteringNickname) {
      HighscorePage = PageOfRank(o->HighscoreRank);
    }
  }
  PlayField& f = Field(side);
  // Until its player types one, the row carries the name the prompt starts with, never the
  // nickname of the entry it pushed down.
  InsertAt(highscores, rank, side == PlayerSide::Right ? "Player 1" : "Player 2",
           std::to_string(f.Score));
  f.MadeHighscore = true;
  f.HighscoreRank = rank;
  f.PromptPending = true;
}

// The server exchange is never started by the game itself.
void frmMain::UpdateGameServer() {}

void frmMain::OpenHighscoresFromMenu() {
  if (menu.MenuHighscoresButton.Grayed) return;
  for (PlayField* f : {&RightField, &LeftField}) {
    f->EnteringNickname = false;
    f->MadeHighscore = false;
    f->PromptPending = false;
  }
  HighscoresFromMenu = true;
  Screen = 3;
}

}  // namespace brikka
