// The screen shake: SetupQuake sizes a shake for the rows just completed, Quake moves the
// overlay, the frame, every settled block and the right well's falling piece one step a
// frame, turning at the range, until it comes back to rest, and FillOrgPos / ReturnToOrgPos
// record the rest positions and put everything back there. Nothing in the game starts a
// shake; a caller records the positions first and then calls SetupQuake.
#include <algorithm>
#include <cmath>

#include "game/counters.h"
#include "game/frm_main.h"

namespace brikka {

namespace {

struct QuakeSize {
  double range, amplitude;
  int16_t limit;  // reversals before the rows are added
};
constexpr QuakeSize kSizes[4] = {{2, 8, 2}, {5, 14, 2}, {6, 20, 4}, {10, 70, 4}};

// Steps lie on a 1/4096-pixel grid (14/5 moves 2.800049 a frame): the Singles and Doubles of
// every position then add and take away each step exactly, so a shake comes back to exactly
// 0 and leaves every block exactly on its row, where the rows are told by exact equality.
constexpr double kStepGrid = 4096;

void RecordRest(PlayField& f, double t) {
  f.OrgPos.resize(f.Blocks.size());
  for (size_t i = 0; i < f.Blocks.size(); ++i) {
    f.OrgPos[i] = OrgPosition{static_cast<float>(f.Blocks[i].MyX()),
                              static_cast<float>(f.Blocks[i].MyY() - t), 0};
  }
}

// Blocks with a record go back to it; any without one (none, once the records are brought up
// to date) go back by the displacement they carry.
void PutBack(PlayField& f, double t, double w, double h) {
  const size_t recorded = std::min(f.OrgPos.size(), f.Blocks.size());
  for (size_t i = 0; i < recorded; ++i) f.Blocks[i].setdimOnly(f.OrgPos[i].x, f.OrgPos[i].y, w, h);
  for (size_t i = recorded; i < f.Blocks.size(); ++i) f.Blocks[i].AmountTranslation(0, -t);
}

}  // namespace

void frmMain::SetupQuake(int16_t CompLines) {
  if (CompLines >= 1 && CompLines <= 4) {
    // A new shake starts from rest. Taken over mid-way, a shake of another size could swing
    // about a point it never comes back to within a pixel of, and never end.
    if (Displacement() != 0) ShakeBy(-Displacement());
    quake.QuakeDir = 1;
    quake.QuakeCount = 0;
    const QuakeSize& s = kSizes[CompLines - 1];
    quake.QuakeRange = s.range;
    quake.QuakeAmplitude = s.amplitude;
    quake.QuakeLimit = s.limit;
  }
  SaturatingAdd(quake.QuakeLimit, CompLines);
}

void frmMain::Quake() {
  QuakeState& q = quake;
  if (q.QuakeRange == 0) return;
  q.QuakeStep = std::round(q.QuakeAmplitude / q.QuakeRange * kStepGrid) / kStepGrid;
  ShakeBy(q.QuakeDir * q.QuakeStep);
  if (std::abs(QuakeSquare.Topy - q.OrgQuadPos[1]) >= q.QuakeRange) {
    SaturatingAdd(q.QuakeCount, 1);
    q.QuakeDir = static_cast<int16_t>(-q.QuakeDir);
  }
  if (std::abs(QuakeSquare.Topy - q.OrgQuadPos[1]) < 1 && q.QuakeCount >= q.QuakeLimit) {
    q.QuakeDir = 1;
    q.QuakeLimit = 1;
    q.QuakeRange = 0;
    q.QuakeCount = 0;
    // Pieces have settled, rows gone and rows been pushed since the last recording.
    FillOrgPos();
    ReturnToOrgPos();
  }
}

void frmMain::ShakeBy(double dy) {
  QuakeSquare.AmountTranslation(0, dy);
  FramesSquare.AmountTranslation(0, dy);
  for (cBlock& b : RightField.Blocks) b.AmountTranslation(0, dy);
  for (cBlock& b : LeftField.Blocks) b.AmountTranslation(0, dy);
  RightField.Shape.AmountTranslation(0, dy);
}

// Rest positions are the present ones less the displacement. Once a removal has emptied the
// right well, its blocks are no longer recorded.
void frmMain::FillOrgPos() {
  const double t = Displacement();
  quake.OrgQuadPos = {
      static_cast<float>(QuakeSquare.Leftx), static_cast<float>(QuakeSquare.Topy - t),
      static_cast<float>(FramesSquare.Leftx), static_cast<float>(FramesSquare.Topy - t)};
  if (RRedimmmed() && !quake.RightWellEmptied) RecordRest(RightField, t);
  if (LRedimmmed()) RecordRest(LeftField, t);
}

// Walks only as far as both a well's records and its blocks go. The right well's blocks go
// back by their displacement once it is no longer recorded, and so does the right falling
// piece, which has no record.
void frmMain::ReturnToOrgPos() {
  const double t = Displacement();
  const auto& o = quake.OrgQuadPos;
  QuakeSquare.setdimOnly(o[0], o[1]);
  FramesSquare.setdimOnly(o[2], o[3]);
  if (RRedimmmed()) {
    if (quake.RightWellEmptied) {
      for (cBlock& b : RightField.Blocks) b.AmountTranslation(0, -t);
    } else {
      PutBack(RightField, t, geo.sizex, geo.sizey);
    }
  }
  if (LRedimmmed()) PutBack(LeftField, t, geo.sizex, geo.sizey);
  RightField.Shape.AmountTranslation(0, -t);
}

}  // namespace brikka
