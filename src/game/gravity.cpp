// Falling, the lock delay that settles a landed piece, and the level that rises once a minute.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "game/counters.h"
#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

namespace {

// Fall speed in pixels per second for each level, and the lock delay where it changes.
constexpr int16_t kLevelSpeed[11] = {0, 25, 75, 94, 119, 144, 175, 200, 225, 250, 275};
constexpr int16_t kTopLevel = 10;

int32_t LockDelayForLevel(int16_t level) {
  if (level == 4) return 200;
  if (level == 7) return 100;
  return 0;  // unchanged
}

int16_t FloorCode(PlayerSide side) {
  return side == PlayerSide::Right ? 1 : 2;
}

// The number of single-pixel steps for `distance`: rounded half to even, never negative,
// and kept within what a frame can sensibly fall.
int32_t PixelSteps(double distance) {
  double r = platform::RoundHalfEven(distance);
  if (!(r > 0)) return 0;
  return r > 1e6 ? 1000000 : static_cast<int32_t>(r);
}

// The settled blocks a falling piece can come to rest on this frame: those in the column of
// one of its blocks, from just below it down to as far as this frame's fall reaches (and a
// pixel more). Neither the piece's columns nor the settled blocks change during a fall, so
// they are gathered once per frame, and as the piece only ever moves down, each pixel of the
// fall compares each piece block with the nearest candidate not yet passed: the same exact
// touch-down test as the block test with no direction, on far fewer blocks.
class Supports {
 public:
  Supports(const PlayField& f, double lift, int32_t pixels) {
    std::array<double, 4> first;
    for (int i = 0; i < 4; ++i) first[i] = (f.Shape.BlockY(i) + lift) + f.Shape.BlockSizeY(i);
    const double top = *std::min_element(first.begin(), first.end());
    const double bottom = *std::max_element(first.begin(), first.end()) + pixels + 1;
    for (const cBlock& s : f.Blocks) {
      const double sy = s.MyY();
      if (sy < top || sy > bottom) continue;
      for (int i = 0; i < 4; ++i) {
        if (s.MyX() == f.Shape.BlockX(i) && sy >= first[i]) below_.push_back({i, sy});
      }
    }
    std::sort(below_.begin(), below_.end());
    for (int i = 0, k = 0; i < 4; ++i) {
      next_[i] = k;
      while (k < static_cast<int>(below_.size()) && below_[k].first == i) ++k;
      end_[i] = k;
    }
  }
  bool Touch(const cShape& piece, double lift) {
    for (int i = 0; i < 4; ++i) {
      const double bottom = (piece.BlockY(i) + lift) + piece.BlockSizeY(i);
      int& k = next_[i];
      while (k < end_[i] && below_[k].second < bottom) ++k;
      if (k < end_[i] && below_[k].second == bottom) return true;
    }
    return false;
  }

 private:
  std::vector<std::pair<int, double>> below_;  // (piece block, settled centre y), by block then y
  std::array<int, 4> next_{}, end_{};
};

}  // namespace

void frmMain::Descend() {
  Fall(PlayerSide::Right);
}
void frmMain::Descend2() {
  Fall(PlayerSide::Left);
}
void frmMain::RTimerdelay_Timer() {
  LockDelayTick(PlayerSide::Right);
}
void frmMain::LTimerDelay_Timer() {
  LockDelayTick(PlayerSide::Left);
}
void frmMain::RTimerLevel_Timer() {
  LevelTick(PlayerSide::Right);
}
void frmMain::LTimerLevel_Timer() {
  LevelTick(PlayerSide::Left);
}

// One frame of falling: (Speed + SpeedBonus) / frame rate pixels, one pixel at a time so the
// exact contact tests cannot be stepped over. A fall of whole block heights is walked pixel
// by pixel too: moved in one jump it would carry a piece that already rests on a block into
// that block.
void frmMain::Fall(PlayerSide side) {
  PlayField& f = Field(side);
  const int16_t fps = FPS_Current != 0 ? FPS_Current : 25;
  f.Step = (f.Speed + f.SpeedBonus) / fps;
  const double lift = PieceToStack(side);
  const int32_t pixels = PixelSteps(f.Step);
  Supports supports(f, lift, pixels);
  auto on_ground = [&] {
    if (FloorTest(side) == FloorCode(side)) return true;
    if (!supports.Touch(f.Shape, lift)) return false;
    f.TimerDelay->SetEnabled(true);
    return true;
  };
  bool landed = on_ground();
  for (int32_t k = pixels; !landed && k > 0; --k) {
    f.Shape.AmountTranslation(0, 1);
    landed = on_ground();
  }
  if (!landed) return;
  if (!f.Landed) PlayEffect(&Sounds::LandSound);
  f.Landed = true;
}

void frmMain::LockDelayTick(PlayerSide side) {
  PlayField& f = Field(side);
  f.Landed = false;
  f.TimerDelay->SetEnabled(false);
  const bool on_floor = FloorTest(side) == FloorCode(side);
  const bool on_block = BlockTest(side, 0) == 3;
  if (on_floor || on_block) {
    SettleShape(side);
    SpawnShape(side);
    if (!f.GameOver) SaturatingAdd(f.Score, 4);
  }
  f.TimerDelay->SetEnabled(false);
}

void frmMain::LevelTick(PlayerSide side) {
  PlayField& f = Field(side);
  if (f.Level >= kTopLevel) {
    f.TimerLevel->SetEnabled(false);
    return;
  }
  SaturatingAdd(f.Level, 1);
  PlayEffect(&Sounds::LevelSound);
  if (f.Level >= 1 && f.Level <= kTopLevel) f.Speed = kLevelSpeed[f.Level];
  if (int32_t delay = LockDelayForLevel(f.Level)) f.TimerDelay->SetInterval(delay);
}

}  // namespace brikka
