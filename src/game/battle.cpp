// Battle mode: every removal of rows in one well lifts the other well's stack by as many rows
// and fills each freed bottom row with a few blocks in random columns, leaving holes. The
// opponent's falling piece is first put down if the rising stack would reach it.
#include <algorithm>

#include "game/counters.h"
#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

using platform::CInt;

namespace {
// `right` names the sending well; the opponent is the other one.
PlayerSide Opponent(bool right) {
  return right ? PlayerSide::Left : PlayerSide::Right;
}
}  // namespace

void frmMain::BattlePlay(bool& right) {
  if (!settings.Multiplayer) return;
  const PlayerSide side = Opponent(right);
  PlayField& opponent = Field(side);
  const int16_t rows = Field(right ? PlayerSide::Right : PlayerSide::Left).PendingRows;
  const double d = GetDistanceOfSameX(right);
  if (rows * geo.sizey + geo.sizey + opponent.Step > d) {
    opponent.Shape.AmountTranslation(0, d - geo.sizey);
    right ? SettleLShape() : SettleRShape();
    right ? InitShape2() : InitShape();
    SaturatingAdd(opponent.Score, 4);
  }
  for (int16_t k = 0; k < rows; ++k) {
    AscendTheAbove(right);
    AddBattleRow(side);
  }
}

void frmMain::AscendTheAbove(bool& right) {
  for (cBlock& b : Field(Opponent(right)).Blocks) b.AmountTranslation(0, -geo.sizey);
}

// A settled block of the opponent's well in the column of one of its falling piece's blocks
// and below it.
bool frmMain::bOfSameX(bool& right) {
  const PlayerSide side = Opponent(right);
  const PlayField& f = Field(side);
  const double lift = PieceToStack(side);
  for (const cBlock& b : f.Blocks) {
    for (int i = 0; i < 4; ++i) {
      if (b.MyX() == f.Shape.BlockX(i) && b.MyY() > f.Shape.BlockY(i) + lift) return true;
    }
  }
  return false;
}

// The room below the opponent's falling piece, between centres: the least distance from one
// of its blocks down to a settled block in the same column, or to a block just below the
// floor. The floor counts for every block, also when other columns have blocks below: a
// column the piece hangs over with nothing in it gets the pushed rows too, and measured by
// the other columns alone the piece would be left in the way of those rows.
double frmMain::GetDistanceOfSameX(bool& right) {
  const PlayerSide side = Opponent(right);
  const PlayField& f = Field(side);
  const double lift = PieceToStack(side), carried = PieceDisplacement(side);
  double d = 400;
  if (!f.Blocks.empty() && bOfSameX(right)) {
    for (const cBlock& b : f.Blocks) {
      for (int i = 0; i < 4; ++i) {
        const double y = f.Shape.BlockY(i) + lift;
        if (b.MyX() == f.Shape.BlockX(i) && b.MyY() > y) d = std::min(d, b.MyY() - y);
      }
    }
  }
  for (int i = 0; i < 4; ++i) {
    d = std::min(d, geo.sizey / 2 + geo.EndY - (f.Shape.BlockY(i) - carried));
  }
  return d;
}

// One new bottom row of 3 to 7 blocks (3 and 7 half as likely as the others) in distinct
// columns, each in a random piece colour. It joins the well as displaced as the rest.
void frmMain::AddBattleRow(PlayerSide side) {
  PlayField& f = Field(side);
  const size_t base = f.Blocks.size();
  const int16_t count = CInt(plat_.random.Rnd() * 4 + 3);
  const Vector2 size = MakeVector2(static_cast<float>(geo.sizex), static_cast<float>(geo.sizey));
  const double y = geo.EndY - geo.sizey / 2 + Displacement();
  for (int16_t k = 0; k < count; ++k) {
    double x = 0;
    auto taken = [&] {
      return std::any_of(f.Blocks.begin() + static_cast<std::ptrdiff_t>(base), f.Blocks.end(),
                         [x](const cBlock& b) { return b.MyX() == x; });
    };
    do {
      const int16_t column = static_cast<int16_t>(CInt(plat_.random.Rnd() * 9) + 1);
      x = CInt(column * geo.sizex + (WellLeft(side) - 10));
    } while (taken());
    cBlock b;
    b.Initialise(MakeVector2(static_cast<float>(x), static_cast<float>(y)), size);
    int16_t type = CInt(plat_.random.Rnd() * 6 + 1);
    b.Color = GetColor(type);
    f.Blocks.push_back(b);
  }
}

}  // namespace brikka
