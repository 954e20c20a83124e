// `frmMain`: the main window. It owns every piece of game state and its routines are its
// members; each member is defined in the file of its subsystem:
//   game/frm_main.cpp      construction, timers, End
//   game/startup.cpp       Form_Load's start-up, Reset_Vars, MakeVector2
//   game/frame_loop.cpp    the frame loop, pacing, frame rate, lost device
//   game/pieces.cpp        GetColor, drawing a type, InitShape / InitShape2
//   game/collision.cpp     floor, block, overlap and wall tests, settling, drawing the blocks
//   game/gravity.cpp       Descend, the lock-delay and level ticks
//   game/keys.cpp          Form_KeyDown, Checkkeys, turning, moving, soft drop, pausing
//   game/rows.cpp          completed rows, the gray timers, removal and scoring
//   game/game_over.cpp     EndGame, RestartGame
//   game/start_game.cpp    the start button's set-up of a new game
//   game/battle.cpp        BattlePlay, AscendTheAbove, bOfSameX, GetDistanceOfSameX
//   game/quake.cpp         SetupQuake, Quake, FillOrgPos, ReturnToOrgPos
//   render/play_screen.cpp IntialiseGeometry, Render
//   render/menu_screen.cpp Menu_Render
//   render/text.cpp        cText, DestroyFonts, ReloadFonts (the play screen's texts are
//                          written by render/play_screen_text.cpp)
//   render/sound_music.cpp InitSFX, PlayEffect, the music
//   menu/settings.cpp      ReadMenus
//   menu/main_menu.cpp     InitMenu, MainMenuButtonClicked and the buttons' actions
//   menu/mouse.cpp         InitMouse, DirectXEvent8_DXCallback, the hit test
//   highscores/highscore_table.cpp   InitHighscore, FillHighscores, FillHighscoresFile,
//                                    CheckForHighscore, UpdateGameServer, the menu's
//                                    highscores button
//   highscores/nickname_entry.cpp    the nickname entry and its prompts
//   highscores/highscore_buttons.cpp the highscore screen's buttons
//   highscores/highscore_screen.cpp  HighScore_Render
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/playfield.h"
#include "game/shape.h"
#include "highscores/highscore_file.h"
#include "highscores/highscore_flags.h"
#include "platform/platform.h"
#include "render/cdirectx.h"
#include "render/quad.h"
#include "render/text.h"

namespace brikka {

// The switches of the settings file.
struct GameSettings {
  int16_t Clockwise = 1;
  bool Multiplayer = false;
  bool Music = true;
  bool SFX = true;
  bool Battle = false;
};

// The four sound effects.
struct Sounds {
  std::unique_ptr<platform::SoundBuffer> LandSound, LineSound, RotateSound, LevelSound;
};

// The main menu's pictures: the title and the eleven buttons.
struct MenuPictures {
  cTLSquare MenuTitleSquare;
  cButton MenuCWButton, MenuCcWButton, MenuMultiButton, MenuBattleButton, MenuMusicButton,
      MenuSoundButton, MenuLGridButton, MenuRGridButton, MenuHighscoresButton, MenuStartButton,
      MenuQuitButton;
};

// The highscore screen's pictures; its background is also the menu's.
struct HighscorePictures {
  cTLSquare HsBackground;
  cButton HsNextButton, HsBackButton, HsRestartButton, HsMenuButton, HsQuitButton;
};

// The five fonts the play screen and the highscore screen share.
struct GameFonts {
  cText HsRowText, HsTitleText, PlayTextA, PlayTextB, PlayTextBold;
  std::array<cText*, 5> All() {
    return {&HsRowText, &HsTitleText, &PlayTextA, &PlayTextB, &PlayTextBold};
  }
};

// The screen shake's counters.
struct QuakeState {
  double QuakeRange = 0, QuakeAmplitude = 0, QuakeStep = 0;
  int16_t QuakeDir = 1, QuakeCount = 0, QuakeLimit = 1;
  std::array<float, 4> OrgQuadPos{};
  bool RightWellEmptied = false;
};

class frmMain {
 public:
  explicit frmMain(platform::Platform& plat);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // ---- start-up and the frame loop ----
  // The load event: start-up, then the frame loop until the program ends. `kept`: the
  // program-wide flags as a window loaded before this one left them (the exchange window);
  // without it they start True.
  void Form_Load(const HighscoreFlags* kept = nullptr);
  // Start-up up to the frame loop; false when the program ended during it.
  bool StartUp(const HighscoreFlags* kept = nullptr);
  // One pass of the frame loop.
  void FramePass();
  void Reset_Vars();
  static Vector2 MakeVector2(float x, float y) { return Vector2{x, y}; }
  // The run-time's End: the program stops after the current handler returns.
  void End(int exit_code = 0);
  bool Ended() const { return ended_; }
  int ExitCode() const { return exit_code_; }

  // ---- settings ----
  void ReadMenus();
  std::string DataIniPath() const;
  std::string AppPath() const { return plat_.app_dir; }

  // ---- pieces ----
  uint32_t GetColor(int16_t& TypeNo) const;
  int16_t DrawPieceType();
  void InitShape();
  void InitShape2();
  void SpawnShape(PlayerSide side);

  // ---- collision and settling ----
  int16_t CheckForCollsion();
  int16_t CheckForCollsion2();
  int16_t CheckforCollsion3(int16_t& rRight);
  int16_t CheckforCollsion4(int16_t& rRight);
  bool CheckImgShapeBlockOnBlock(bool& bRight);
  bool CheckImgShapeBlockOnWall(bool& bRight);
  bool RRedimmmed() const;
  bool LRedimmmed() const;
  void SettleRShape();
  void SettleLShape();
  void TryToRenderRBlocks();
  void TryToRenderLBlocks();

  // ---- gravity and levels ----
  void Descend();
  void Descend2();
  void RTimerdelay_Timer();
  void LTimerDelay_Timer();
  void RTimerLevel_Timer();
  void LTimerLevel_Timer();

  // ---- keyboard ----
  void Form_KeyDown(int KeyCode, int Shift);
  void TimerKeys_Timer();
  void Checkkeys();

  // ---- completed rows ----
  void CheckForCompletedLines(bool& right);
  void RTimerGray_Timer();
  void LTimerGray_Timer();
  void RemoveCompletedLine(bool& right, int16_t& Lineindex);
  void DescendTheAbove(bool& right, int16_t& Lineindex);

  // ---- game over and restart ----
  void EndGame(bool& bRight);
  void RestartGame(bool& right);
  // The main menu's start button: reset, set up the play screen, restart the wells, play.
  void StartGameFromMenu();

  // ---- the twin routines' one body each, by side ----
  double WellLeft(PlayerSide side) const;
  double WellRight(PlayerSide side) const;
  Vector2 SpawnPoint(PlayerSide side) const;
  Vector2 PreviewPoint(PlayerSide side) const;
  void PlaceNewPiece(cShape& shape, const Vector2& at);
  int16_t FloorTest(PlayerSide side);
  int16_t BlockTest(PlayerSide side, int16_t direction);
  bool ScratchOverlapsBlocks(PlayerSide side) const;
  bool ScratchOutsideWell(PlayerSide side) const;
  void SettleShape(PlayerSide side);
  void DrawSettledBlocks(PlayerSide side);
  void Fall(PlayerSide side);
  void LockDelayTick(PlayerSide side);
  void LevelTick(PlayerSide side);
  void CopyToImgShape(PlayerSide side, bool withRotated);
  void TryTurn(PlayerSide side);
  void TryMove(PlayerSide side, int16_t direction);
  void SoftDrop(PlayerSide side, bool keyDown);
  void TogglePause(PlayerSide side);
  void PauseKey(PlayerSide side);
  bool CountRows(PlayerSide side, bool detectLoss);
  void GrayTick(PlayerSide side);
  double RowCentre(int16_t row) const;
  void RemoveRows(PlayerSide side, const double* centres, int count);
  void RecordAfterRemoval(const double* centres, int count, size_t kept);
  void RestartSide(PlayerSide side);

  // ---- battle ----
  void BattlePlay(bool& right);
  void AscendTheAbove(bool& right);
  bool bOfSameX(bool& right);
  double GetDistanceOfSameX(bool& right);
  void AddBattleRow(PlayerSide side);

  // ---- the screen shake ----
  void SetupQuake(int16_t CompLines);
  void Quake();
  void FillOrgPos();
  void ReturnToOrgPos();
  // How far the shake has moved the screen from rest. Every settled block of both wells and
  // the right well's falling piece are displaced by exactly this much; the left well's
  // falling piece is not. Whatever joins a well while it shakes joins displaced, and every
  // rule compares positions at rest, so a shake never changes where anything lands.
  double Displacement() const { return QuakeSquare.Topy; }
  double PieceDisplacement(PlayerSide side) const {
    return side == PlayerSide::Right ? Displacement() : 0.0;
  }
  // Added to a falling piece's y, puts it among the settled blocks as they are displaced.
  double PieceToStack(PlayerSide side) const { return Displacement() - PieceDisplacement(side); }
  void ShakeBy(double dy);

  // ---- presentation ----
  void IntialiseGeometry();
  bool Render();
  bool Menu_Render();
  bool HighScore_Render();
  void DrawHighscoreButtons();
  void DrawHighscorePage();
  void DrawPlayersScores();
  void InitSFX();
  // InitSFX for a caller that must go on without sound: false when a file is unreadable.
  bool LoadEffects();
  // Plays one effect once when SFX is on: PlayEffect(&Sounds::LineSound).
  void PlayEffect(std::unique_ptr<platform::SoundBuffer> Sounds::*effect);
  void StartMusic();
  void KeepMusicLooping();
  void DestroyFonts();
  void ReloadFonts();

  // ---- menu and mouse ----
  void InitMouse();
  void InitMenu();
  void DirectXEvent8_DXCallback(int32_t eventid);
  void MainMenuButtonClicked();
  // The hit test: the mouse strictly inside the button, its border pixels not counted.
  bool MouseOverButton(const cButton& b) const;

  // ---- highscore table, file and nickname entry ----
  void InitHighscore();
  void MakeHighscorePictures();
  void FillHighscores();
  // False when the file could not be written.
  bool FillHighscoresFile();
  void CheckForHighscore(bool bRight);
  void UpdateGameServer();
  std::string HighscoresPath() const;
  // The main menu's highscores button: the table without anyone's score in red.
  void OpenHighscoresFromMenu();
  void PlaceScore(PlayerSide side, int16_t rank);
  void PromptNextPlayer();
  void StartNicknamePrompt(PlayerSide side);
  bool NicknameEntryActive() const;
  void NicknameKey(int KeyCode);
  void NicknameEntered();
  // The highscore screen's buttons under a click.
  void HighscoreButtonsClicked();
  void RestartFromHighscores();

  // ---- access by side ----
  PlayField& Field(PlayerSide side) { return side == PlayerSide::Right ? RightField : LeftField; }
  const PlayField& Field(PlayerSide side) const {
    return side == PlayerSide::Right ? RightField : LeftField;
  }
  platform::Device* Device() { return dx.d3ddevice.get(); }
  platform::Platform& Plat() { return plat_; }

  // ---- state ----
  int16_t Screen = 1;
  bool Running = false;
  int32_t FpsTick = 0;
  int32_t FrameCount = 0;
  int16_t FPS_Current = 0;
  Geometry geo;
  GameSettings settings;
  platform::KeyboardState KeyboardState{};
  cShape ImgShape;
  PlayField RightField;
  PlayField LeftField;
  QuakeState quake;
  cTLSquare QuakeSquare;
  cTLSquare FramesSquare;
  cTLSquare Cursor;
  MenuPictures menu;
  HighscorePictures hs;
  GameFonts fonts;
  platform::TextureRef BlockTexture;
  Sounds sounds;
  bool MouseArmed = false;
  int32_t MouseX = 0, MouseY = 0;
  int32_t MouseEvent = 0;
  // Program-wide flags of the highscore feature.
  bool HighscoreDownloadMode = false;
  bool HighscoresAvailable = false;
  HighscoreTable highscores;
  int16_t HighscorePage = 0;
  std::string NicknameBuffer;
  bool HighscoresFromMenu = false;
  std::vector<cBlock> TempBlocks;

  cdirectx dx;
  std::unique_ptr<platform::Timer> TimerKeys;

 private:
  void CreateTimers();
  void ComputeGeometry(double W, double H);
  void LostDevicePass(int32_t level);
  void MenuScreenClicked();
  void FlipClockwise();
  void MusicButtonClicked();
  void SoundButtonClicked();
  void WriteSetting(const char* key, int16_t value);

  platform::Platform& plat_;
  bool ended_ = false;
  int exit_code_ = 0;
};

}  // namespace brikka
