// A well's loss and a well's fresh start.
#include "game/counters.h"
#include "game/frm_main.h"

namespace brikka {

namespace {
PlayerSide SideOf(bool right) {
  return right ? PlayerSide::Right : PlayerSide::Left;
}
PlayerSide Other(PlayerSide side) {
  return side == PlayerSide::Right ? PlayerSide::Left : PlayerSide::Right;
}
}  // namespace

// Outside battle the lost well stops and its score goes to the highscore check; the
// highscore screen opens once no well plays. In battle one loss ends the round for both
// wells and counts a win for the other side.
void frmMain::EndGame(bool& bRight) {
  const PlayerSide side = SideOf(bRight);
  PlayField& f = Field(side);
  if (settings.Battle) {
    // One loss ends the round. A piece still settling after it (its lock delay already
    // running, or put down by rows pushed after the loss) counts no second win.
    if (RightField.GameOver || LeftField.GameOver) return;
    f.GameOver = true;
    f.Active = false;
    PlayField& other = Field(Other(side));
    SaturatingAdd(other.Wins, 1);
    other.Active = false;
    return;
  }
  f.Active = false;
  f.GameOver = true;
  if (HighscoresAvailable) CheckForHighscore(bRight);
  if (!RightField.Active && !LeftField.Active) {
    f.TimerLevel->SetEnabled(false);
    Screen = 3;
  }
}

void frmMain::RestartGame(bool& right) {
  RightField.EnteringNickname = false;
  LeftField.EnteringNickname = false;
  HighscorePage = 0;
  RestartSide(SideOf(right));
}

// The well starts afresh: counters, an empty well, and a new falling piece. The right well
// takes its preview piece; the left one draws both pieces anew first (restarting it is also
// how a second player joins, so it turns the two-player game on).
void frmMain::RestartSide(PlayerSide side) {
  PlayField& f = Field(side);
  f.TimerLevel->SetEnabled(false);
  f.TimerLevel->SetEnabled(true);
  f.GameOver = false;
  f.Score = 0;
  f.Speed = 25;
  f.Level = 1;
  f.Lines = 0;
  f.Active = true;
  // A placement still waiting for this player's prompt belongs to the game now abandoned;
  // its row keeps the score under the prompt's name.
  f.PromptPending = false;
  if (side == PlayerSide::Left && !settings.Multiplayer) settings.Multiplayer = true;
  f.Blocks.clear();
  if (side == PlayerSide::Right) {
    InitShape();
  } else {
    PlaceNewPiece(f.Shape, SpawnPoint(side));
    PlaceNewPiece(f.NextShape, PreviewPoint(side));
    InitShape2();
  }
  f.Paused = false;
  f.RowTable = {};
}

}  // namespace brikka
