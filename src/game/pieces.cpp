// Piece colours, drawing a piece type, and the spawn that turns the preview piece into the
// falling piece and draws a new preview.
#include "game/frm_main.h"
#include "platform/numbers.h"

namespace brikka {

using platform::D3DColorXRGB;

uint32_t frmMain::GetColor(int16_t& TypeNo) const {
  switch (TypeNo) {
    case 1:
      return D3DColorXRGB(0, 255, 0);
    case 2:
      return D3DColorXRGB(0, 138, 255);
    case 3:
      return D3DColorXRGB(255, 255, 0);
    case 4:
      return D3DColorXRGB(255, 0, 255);
    case 5:
      return D3DColorXRGB(255, 186, 0);
    case 6:
      return D3DColorXRGB(251, 8, 105);
    case 7:
      return D3DColorXRGB(0, 228, 255);
    default:
      return 0;
  }
}

// 1 to 7 by rounding Rnd x 6 + 1 half to even: the two end types come half as often.
int16_t frmMain::DrawPieceType() {
  return platform::CInt(plat_.random.Rnd() * 6 + 1);
}

double frmMain::WellLeft(PlayerSide side) const {
  return side == PlayerSide::Right ? geo.RStartX : geo.LStartX;
}

double frmMain::WellRight(PlayerSide side) const {
  return side == PlayerSide::Right ? geo.REndX : geo.LEndX;
}

Vector2 frmMain::SpawnPoint(PlayerSide side) const {
  const double left = WellLeft(side);
  return MakeVector2(static_cast<float>(left + (WellRight(side) - left) / 2),
                     static_cast<float>(geo.StartY));
}

// The preview boxes sit at fixed pixels; they do not scale with the screen.
Vector2 frmMain::PreviewPoint(PlayerSide side) const {
  return side == PlayerSide::Right ? MakeVector2(730, 167.5f) : MakeVector2(330, 167.5f);
}

void frmMain::PlaceNewPiece(cShape& shape, const Vector2& at) {
  int16_t type = DrawPieceType();
  shape.Initialise(type, GetColor(type), at,
                   MakeVector2(static_cast<float>(geo.sizex), static_cast<float>(geo.sizey)));
}

void frmMain::InitShape() {
  SpawnShape(PlayerSide::Right);
}
void frmMain::InitShape2() {
  SpawnShape(PlayerSide::Left);
}

void frmMain::SpawnShape(PlayerSide side) {
  if (side == PlayerSide::Left && !settings.Multiplayer) return;
  PlayField& f = Field(side);
  int16_t next = DrawPieceType();
  if (f.SkipSpawn) {
    f.SkipSpawn = false;
    return;
  }
  const Vector2 size = MakeVector2(static_cast<float>(geo.sizex), static_cast<float>(geo.sizey));
  int16_t current = f.NextShape.ShapeType;
  f.Shape.Initialise(current, GetColor(current), SpawnPoint(side), size);
  // A right piece spawned while the screen shakes shakes with it from the start.
  if (PieceDisplacement(side) != 0) f.Shape.AmountTranslation(0, PieceDisplacement(side));
  f.NextShape.Initialise(next, GetColor(next), PreviewPoint(side), size);
}

}  // namespace brikka
