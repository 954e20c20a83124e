// Completed rows: counting the rows after a piece settles (and finding a loss), graying the
// full ones, removing them 200 ms later with everything above dropping one row, and scoring
// by the number of rows and the level.
#include <algorithm>
#include <array>
#include <utility>

#include "game/counters.h"
#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

using platform::CLng;

namespace {
constexpr uint32_t kGray = platform::D3DColorXRGB(193, 193, 193);
constexpr int kRows = 20;     // rows of a well; the row above is where a loss shows
constexpr int kFullRow = 10;  // blocks in a full row

int32_t PointsFor(int16_t rows) {
  switch (rows) {
    case 1:
      return 40;
    case 2:
      return 100;
    case 3:
      return 300;
    case 4:
      return 1200;
    default:
      return 0;
  }
}

PlayerSide SideOf(bool right) {
  return right ? PlayerSide::Right : PlayerSide::Left;
}
}  // namespace

// Fills the well's RowTable with the blocks on each row centre: the centres run from the
// bottom row's up to the row above the well, and a block counts for a row only when its
// centre (at rest, should the screen be shaking) is exactly that row's. With `detectLoss`,
// a block on the row above the well ends the game (returns false) once the rows of the well
// are counted; without it that row is not looked at. One pass over the blocks works out
// each block's row from its centre.
bool frmMain::CountRows(PlayerSide side, bool detectLoss) {
  PlayField& f = Field(side);
  const int32_t first = CLng(geo.EndY - geo.sizey / 2);
  const int32_t last = CLng(geo.StartY - geo.sizey / 2);
  const int32_t pitch = -CLng(-geo.sizey);
  if (pitch <= 0 || first < last) return true;
  const int32_t centres = (first - last) / pitch + 1;
  const double per_pitch = 1.0 / pitch;
  const double shake = Displacement();
  bool above = false;
  for (const cBlock& b : f.Blocks) {
    const double y = b.MyY() - shake;
    if (!(y <= first && y >= last)) continue;
    // The nearest row centre, then whether the block sits exactly on it.
    const int32_t k = static_cast<int32_t>((first - y) * per_pitch + 0.5);
    if (first - k * pitch != y) continue;
    const int32_t r = k + 1;
    if (r > centres) continue;
    if (r > kRows) {
      above = true;
      continue;
    }
    f.RowTable[r].Count = static_cast<int16_t>(f.RowTable[r].Count + 1);
    f.RowTable[r].Y = static_cast<int16_t>(y);
  }
  if (!above || !detectLoss) return true;
  bool right = side == PlayerSide::Right;
  EndGame(right);
  f.TimerGray->SetEnabled(false);
  return false;
}

void frmMain::CheckForCompletedLines(bool& right) {
  RightField.RowTable = {};
  LeftField.RowTable = {};
  const PlayerSide side = SideOf(right);
  PlayField& f = Field(side);
  if (f.Blocks.empty()) return;
  if (!CountRows(side, true)) return;
  // The full rows' centres, then one pass that grays every block on one of them.
  std::array<double, kRows> full{};
  int found = 0;
  for (int r = 1; r <= kRows; ++r) {
    if (f.RowTable[r].Count < kFullRow) continue;
    SaturatingAdd(f.PendingRows, 1);
    full[found++] = f.RowTable[r].Y;
  }
  if (found == 0) return;
  const double shake = Displacement();
  for (cBlock& b : f.Blocks) {
    if (std::find(full.begin(), full.begin() + found, b.MyY() - shake) != full.begin() + found) {
      b.Color = kGray;
    }
  }
  PlayEffect(&Sounds::LineSound);
  // Lines counts at once; the score waits for the removal.
  SaturatingAdd(f.Lines, f.PendingRows);
  f.TimerGray->SetEnabled(true);
}

void frmMain::RTimerGray_Timer() {
  GrayTick(PlayerSide::Right);
}
void frmMain::LTimerGray_Timer() {
  GrayTick(PlayerSide::Left);
}

// Removes every full row and scores them by how many rows were found since the last removal.
void frmMain::GrayTick(PlayerSide side) {
  PlayField& f = Field(side);
  f.RowTable = {};
  if (f.GameOver) return;
  f.TimerGray->SetEnabled(false);
  CountRows(side, false);
  std::array<double, kRows> full{};
  int count = 0;
  for (int r = 1; r <= kRows; ++r) {
    if (f.RowTable[r].Count >= kFullRow) full[count++] = f.RowTable[r].Y;
  }
  RemoveRows(side, full.data(), count);
  bool right = side == PlayerSide::Right;
  SaturatingAdd(f.Score, static_cast<long long>(PointsFor(f.PendingRows)) * f.Level);
  if (settings.Battle) BattlePlay(right);
  f.PendingRows = 0;
  f.RowTable = {};
}

void frmMain::RemoveCompletedLine(bool& right, int16_t& Lineindex) {
  const double centre = RowCentre(Lineindex);
  RemoveRows(SideOf(right), &centre, 1);
}

void frmMain::DescendTheAbove(bool& right, int16_t& Lineindex) {
  const double c = RowCentre(Lineindex), shake = Displacement();
  for (cBlock& b : Field(SideOf(right)).Blocks) {
    if (b.MyY() - shake < c) b.AmountTranslation(0, geo.sizey);
  }
}

double frmMain::RowCentre(int16_t row) const {
  return geo.EndY - row * geo.sizey + geo.sizey / 2;
}

// Takes the rows with these centres (bottom row first) out of the well in one pass, with the
// result of removing them one by one from the bottom up: the other blocks keep their order,
// are placed afresh at their centres with the well's block size, and fall one row for every
// removed row below them. A well left with no blocks is empty; one left with a single block
// keeps it. (One pass rather than one per row: a full well is shifted and re-placed once.)
void frmMain::RemoveRows(PlayerSide side, const double* centres, int count) {
  PlayField& f = Field(side);
  if (f.Blocks.empty() || count == 0) return;
  const double* end = centres + count;
  const double shake = Displacement();
  size_t kept = 0, k = 0;
  for (size_t i = 0; i < f.Blocks.size(); ++i) {
    cBlock& b = f.Blocks[i];
    const double y = b.MyY() - shake;
    if (std::find(centres, end, y) != end) {
      if (y == centres[0] && k < f.RowBlockIndex.size()) {
        f.RowBlockIndex[k++] = static_cast<int16_t>(i);
      }
      continue;
    }
    if (kept != i) f.Blocks[kept] = std::move(b);
    cBlock& moved = f.Blocks[kept++];
    moved.setdimOnly(static_cast<float>(moved.MyX()), static_cast<float>(moved.MyY()), geo.sizex,
                     geo.sizey);
    const auto below = std::count_if(centres, end, [y](double c) { return y < c; });
    if (below > 0) moved.AmountTranslation(0, static_cast<double>(below) * geo.sizey);
  }
  if (side == PlayerSide::Right) {
    RecordAfterRemoval(centres, count, kept);
  } else {
    f.Blocks.resize(kept);
  }
}

// The rest positions as recorded after each removed row of the right well. A removal that
// empties the well records nothing; the ones before it, when several rows go at once, have
// recorded the well's top full row, fallen one row for each row removed under it.
void frmMain::RecordAfterRemoval(const double* centres, int count, size_t kept) {
  std::vector<cBlock>& blocks = RightField.Blocks;
  if (kept > 0) {
    blocks.resize(kept);
    FillOrgPos();
    return;
  }
  // Nothing was kept, so nothing was moved: the list is as it was before the removal.
  if (count > 1) {
    const double top = centres[count - 1], shake = Displacement();
    std::erase_if(blocks, [&](const cBlock& b) { return b.MyY() - shake != top; });
    for (cBlock& b : blocks) b.AmountTranslation(0, (count - 1) * geo.sizey);
    FillOrgPos();
  }
  blocks.clear();
  quake.RightWellEmptied = true;
}

}  // namespace brikka
