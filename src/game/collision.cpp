// The tests that stop a piece: floor, settled blocks below and beside it, and the scratch
// piece's overlap and wall tests; settling a landed piece; drawing the settled blocks.
// There is no cell array: every test compares block centres, most of them for equality.
#include <algorithm>
#include <cmath>

#include "game/frm_main.h"

namespace brikka {

namespace {
// The box around a piece's blocks, widened on every side by twice a block (and by how far
// the screen shake moves the piece against the settled blocks): a settled block outside it
// cannot meet any of the exact tests below, whatever the rounding, so most of a full well is
// passed over with a few comparisons.
class Neighbourhood {
 public:
  Neighbourhood(const cShape& piece, double w, double h, double shake) {
    for (int i = 0; i < 4; ++i) {
      w = std::max(w, piece.BlockSizeX(i));
      h = std::max(h, piece.BlockSizeY(i));
    }
    xlo_ = xhi_ = piece.BlockX(0);
    ylo_ = yhi_ = piece.BlockY(0);
    for (int i = 1; i < 4; ++i) {
      xlo_ = std::min(xlo_, piece.BlockX(i));
      xhi_ = std::max(xhi_, piece.BlockX(i));
      ylo_ = std::min(ylo_, piece.BlockY(i));
      yhi_ = std::max(yhi_, piece.BlockY(i));
    }
    const double mx = 2 * w, my = 2 * h + std::abs(shake);
    xlo_ -= mx;
    xhi_ += mx;
    ylo_ -= my;
    yhi_ += my;
  }
  bool Excludes(const cBlock& b) const {
    return b.MyX() < xlo_ || b.MyX() > xhi_ || b.MyY() < ylo_ || b.MyY() > yhi_;
  }

 private:
  double xlo_, xhi_, ylo_, yhi_;
};

// The settled block's open interval of half-size `half` around `s` contains one of the
// other block's edges, or the two centres are equal.
bool OverlapsOnAxis(double s, double p, double half) {
  const double lo = s - half, hi = s + half;
  const double far_edge = p + half, near_edge = p - half;
  return (lo < far_edge && far_edge < hi) || (lo < near_edge && near_edge < hi) || s == p;
}
}  // namespace

int16_t frmMain::CheckForCollsion() {
  return FloorTest(PlayerSide::Right);
}
int16_t frmMain::CheckForCollsion2() {
  return FloorTest(PlayerSide::Left);
}
int16_t frmMain::CheckforCollsion3(int16_t& rRight) {
  return BlockTest(PlayerSide::Right, rRight);
}
int16_t frmMain::CheckforCollsion4(int16_t& rRight) {
  return BlockTest(PlayerSide::Left, rRight);
}

bool frmMain::RRedimmmed() const {
  return !RightField.Blocks.empty();
}
bool frmMain::LRedimmmed() const {
  return !LeftField.Blocks.empty();
}

void frmMain::SettleRShape() {
  SettleShape(PlayerSide::Right);
}
void frmMain::SettleLShape() {
  SettleShape(PlayerSide::Left);
}
void frmMain::TryToRenderRBlocks() {
  DrawSettledBlocks(PlayerSide::Right);
}
void frmMain::TryToRenderLBlocks() {
  DrawSettledBlocks(PlayerSide::Left);
}

bool frmMain::CheckImgShapeBlockOnBlock(bool& bRight) {
  return ScratchOverlapsBlocks(bRight ? PlayerSide::Right : PlayerSide::Left);
}

bool frmMain::CheckImgShapeBlockOnWall(bool& bRight) {
  return ScratchOutsideWell(bRight ? PlayerSide::Right : PlayerSide::Left);
}

// Floor code 1 on the right, 2 on the left; the left well only plays in a two-player game.
// The floor does not shake: the piece is measured at rest.
int16_t frmMain::FloorTest(PlayerSide side) {
  const bool right = side == PlayerSide::Right;
  if (!right && !settings.Multiplayer) return 0;
  PlayField& f = Field(side);
  const double shake = PieceDisplacement(side);
  for (int i = 0; i < 4; ++i) {
    if (geo.sizey / 2 + (f.Shape.BlockY(i) - shake) >= geo.EndY) {
      f.TimerDelay->SetEnabled(true);
      return right ? 1 : 2;
    }
  }
  return 0;
}

// 3 when a piece block sits exactly on a settled block; `direction` (1 right, 2 left) when
// a settled block is exactly beside a piece block that way and overlaps it vertically.
// Every pair is looked at; the last match decides. While the screen shakes the piece is
// compared as displaced as the settled blocks are.
int16_t frmMain::BlockTest(PlayerSide side, int16_t direction) {
  PlayField& f = Field(side);
  if (f.Blocks.empty()) return 0;
  const double h = geo.sizey;
  const double lift = PieceToStack(side);
  const Neighbourhood near(f.Shape, geo.sizex, geo.sizey, lift);
  double x[4], y[4], bottom[4], beside[4];
  for (int i = 0; i < 4; ++i) {
    x[i] = f.Shape.BlockX(i);
    y[i] = f.Shape.BlockY(i) + lift;
    bottom[i] = y[i] + f.Shape.BlockSizeY(i);
    beside[i] = direction == 1   ? x[i] + f.Shape.BlockSizeX(i)
                : direction == 2 ? x[i] - f.Shape.BlockSizeX(i)
                                 : std::nan("");
  }
  int16_t result = 0;
  bool touched = false;
  for (const cBlock& s : f.Blocks) {
    if (near.Excludes(s)) continue;
    const double sx = s.MyX(), sy = s.MyY();
    for (int i = 0; i < 4; ++i) {
      if (bottom[i] == sy && sx == x[i]) {
        touched = true;
        result = 3;
      }
      if (beside[i] == sx && OverlapsOnAxis(sy, y[i], h / 2)) result = direction;
    }
  }
  if (touched) f.TimerDelay->SetEnabled(true);
  return result;
}

bool frmMain::ScratchOverlapsBlocks(PlayerSide side) const {
  const double w = geo.sizex, h = geo.sizey;
  const double lift = PieceToStack(side);
  const Neighbourhood near(ImgShape, w, h, lift);
  for (const cBlock& s : Field(side).Blocks) {
    if (near.Excludes(s)) continue;
    for (int i = 0; i < 4; ++i) {
      if (OverlapsOnAxis(s.MyX(), ImgShape.BlockX(i), w / 2) &&
          OverlapsOnAxis(s.MyY(), ImgShape.BlockY(i) + lift, h / 2)) {
        return true;
      }
    }
  }
  return false;
}

// A block exactly on a wall or on the floor is still inside.
bool frmMain::ScratchOutsideWell(PlayerSide side) const {
  const double w = geo.sizex, h = geo.sizey;
  const double left = WellLeft(side), right = WellRight(side);
  const double shake = PieceDisplacement(side);
  bool hit = false;
  for (int i = 0; i < 4; ++i) {
    const double x = ImgShape.BlockX(i), y = ImgShape.BlockY(i) - shake;
    if (y + h / 2 > geo.EndY) hit = true;
    if (x + w / 2 > right || x - w / 2 < left) hit = true;
  }
  return hit;
}

// The landed piece's four blocks join the end of the well's list in its colour (displaced
// with the rest of the well while the screen shakes); then the rows are counted, which may
// also end the game.
void frmMain::SettleShape(PlayerSide side) {
  PlayField& f = Field(side);
  const double lift = PieceToStack(side);
  for (int i = 0; i < 4; ++i) {
    cBlock b;
    b.Color = f.Shape.Scolor;
    b.Initialise(MakeVector2(static_cast<float>(f.Shape.BlockX(i)),
                             static_cast<float>(f.Shape.BlockY(i) + lift)),
                 MakeVector2(static_cast<float>(f.Shape.BlockSizeX(i)),
                             static_cast<float>(f.Shape.BlockSizeY(i))));
    f.Blocks.push_back(b);
  }
  bool right = side == PlayerSide::Right;
  CheckForCompletedLines(right);
}

void frmMain::DrawSettledBlocks(PlayerSide side) {
  for (cBlock& b : Field(side).Blocks) b.DrawBlock(Device(), true, BlockTexture.get());
}

}  // namespace brikka
