// One well's state, its side, and the screen geometry both wells share.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/shape.h"
#include "platform/timers.h"
#include "render/quad.h"

namespace brikka {

enum class PlayerSide { Left, Right };

struct RowRecord {
  int16_t Y = 0;
  int16_t Count = 0;
};

// A block's rest position, recorded for the screen shake.
struct OrgPosition {
  float x = 0, y = 0, z = 0;
};

struct PlayField {
  cShape Shape;
  cShape NextShape;
  // The settled blocks in the order they settled. Empty means empty: a well holding one
  // block holds exactly that block.
  std::vector<cBlock> Blocks;
  int32_t Score = 0;
  int16_t Lines = 0;
  int16_t Level = 1;
  int16_t Speed = 25;
  double SpeedBonus = 0;
  double SavedBonus = 0;
  bool Active = false;
  bool Paused = false;
  bool GameOver = false;
  int16_t Wins = 0;
  bool Landed = false;
  double Step = 0;
  bool SkipSpawn = false;
  bool ShowGrid = false;

  // Completed rows.
  std::array<RowRecord, 21> RowTable{};
  int16_t PendingRows = 0;
  std::array<int16_t, 10> RowBlockIndex{};

  // Highscore entry.
  bool MadeHighscore = false;
  int16_t HighscoreRank = 0;
  bool EnteringNickname = false;
  // The score is in the table but its player's prompt has not started: player 2 waits for
  // player 1 to finish typing.
  bool PromptPending = false;

  // Screen shake rest positions and the grid picture.
  std::vector<OrgPosition> OrgPos;
  cTLSquare GridSquare;

  // The well's window timers: lock delay, level rise, row removal.
  std::unique_ptr<platform::Timer> TimerDelay;
  std::unique_ptr<platform::Timer> TimerLevel;
  std::unique_ptr<platform::Timer> TimerGray;
};

// Screen geometry in pixels, from the display mode's width and height.
struct Geometry {
  double sizex = 0, sizey = 0;
  double LStartX = 0, LEndX = 0, RStartX = 0, REndX = 0;
  double StartY = 0, EndY = 0;
};

}  // namespace brikka
