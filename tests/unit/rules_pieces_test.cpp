// Quads and pieces: quarter turns and their exact undoing, the draw colour rule and the
// greyed mark; the seven piece types' layouts, rotation centres and colours; their turning;
// and where a spawn puts the falling piece and the preview piece.
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "game/shape.h"
#include "platform/keycodes.h"
#include "platform/numbers.h"
#include "rules_support.h"

namespace brikka {
namespace {

TEST(Quad, TurnsMoveTheCentreAndOppositeTurnsRestoreEverything) {
  cTLSquare q;
  q.init(20, 20, 520, 70, "", 20, 20, nullptr, true);  // centre (530, 80)
  const auto before = q.Vertices();
  q.RotateME(1, Vector2{540, 80});  // the point left of the centre goes below it
  EXPECT_EQ(q.MyCenterx, 540);
  EXPECT_EQ(q.MyCentery, 90);
  EXPECT_EQ(q.Vertices()[0].tv, 1.0f);  // the texture turns with the corners
  q.RotateME(-1, Vector2{540, 80});
  for (int i = 0; i < 4; ++i) {
    const auto &v = q.Vertices()[i], &b = before[i];
    EXPECT_EQ(std::tie(v.X, v.Y, v.tu, v.tv), std::tie(b.X, b.Y, b.tu, b.tv)) << i;
  }
}

TEST(Quad, ColourZeroKeepsTheLastColourAndClearsTheGreyedMark) {
  const uint32_t grey = platform::D3DColorXRGB(123, 123, 123);
  cButton b;
  b.init(150, 45, 400, 460, "", "", 200, 60, nullptr, true);
  b.draw(false, grey, nullptr);
  EXPECT_TRUE(b.Grayed);
  b.draw(true, 0, nullptr);
  EXPECT_FALSE(b.Grayed);
  for (const auto& v : b.Vertices()) EXPECT_EQ(v.color, grey);
}

using testing::Centres;
using testing::CentresOf;
using testing::Point;

// Each type placed at the right well's spawn point (550, 100) with 20 x 20 blocks: its four
// block centres in order, its rotation centre, its colour; and the same piece after one turn
// with Clockwise 1 (a point right of the centre goes above it) and one with -1.
struct TypeRow {
  int16_t type;
  Centres blocks;
  Point centre;
  uint8_t r, g, b;
  Centres turned, turned_back;
};
// clang-format off
const TypeRow kTypes[] = {
    {1, {{{520, 90}, {540, 90}, {560, 90}, {580, 90}}}, {540, 90}, 0, 255, 0,
     {{{540, 110}, {540, 90}, {540, 70}, {540, 50}}},
     {{{540, 70}, {540, 90}, {540, 110}, {540, 130}}}},
    {2, {{{540, 70}, {560, 70}, {540, 90}, {560, 90}}}, {550, 80}, 0, 138, 255,
     {{{540, 70}, {560, 70}, {540, 90}, {560, 90}}},
     {{{540, 70}, {560, 70}, {540, 90}, {560, 90}}}},
    {3, {{{560, 90}, {560, 70}, {540, 70}, {520, 70}}}, {540, 90}, 255, 255, 0,
     {{{540, 70}, {520, 70}, {520, 90}, {520, 110}}},
     {{{540, 110}, {560, 110}, {560, 90}, {560, 70}}}},
    {4, {{{520, 90}, {560, 70}, {540, 70}, {520, 70}}}, {540, 90}, 255, 0, 255,
     {{{540, 110}, {520, 70}, {520, 90}, {520, 110}}},
     {{{540, 70}, {560, 110}, {560, 90}, {560, 70}}}},
    {5, {{{520, 90}, {540, 90}, {540, 70}, {560, 70}}}, {540, 70}, 255, 186, 0,
     {{{560, 90}, {560, 70}, {540, 70}, {540, 50}}},
     {{{520, 50}, {520, 70}, {540, 70}, {540, 90}}}},
    {6, {{{560, 90}, {540, 90}, {540, 70}, {520, 70}}}, {540, 70}, 251, 8, 105,
     {{{560, 50}, {560, 70}, {540, 70}, {540, 90}}},
     {{{520, 90}, {520, 70}, {540, 70}, {540, 50}}}},
    {7, {{{520, 90}, {540, 90}, {540, 70}, {560, 90}}}, {540, 90}, 0, 228, 255,
     {{{540, 110}, {540, 90}, {520, 90}, {540, 70}}},
     {{{540, 70}, {540, 90}, {560, 90}, {540, 110}}}},
};
// clang-format on

// Types beyond the seven have no colour; block widths and heights are not interchangeable:
// a bar of 30 x 10 blocks is 120 wide. (Each type's blocks, centre and colour: Spawn.)
TEST(Pieces, OtherTypesHaveNoColourAndABlocksWidthIsNotItsHeight) {
  testing::HeadlessGame h;
  for (int16_t other : {0, 8, -1}) EXPECT_EQ(h.game->GetColor(other), 0u) << other;
  cShape wide;
  wide.Initialise(1, 0, Vector2{100, 200}, Vector2{30, 10});
  EXPECT_EQ(CentresOf(wide), (Centres{{{55, 195}, {85, 195}, {115, 195}, {145, 195}}}));
}

// One turn each way from the table. The bar and the two S-shapes swing between two
// orientations, the second turn undoing the first whichever the sense, and never take a
// third; the L-shapes and the T take four; the square never moves.
TEST(Turning, FirstTurnsAndTheTwoStateAndFourStateCycles) {
  for (const TypeRow& row : kTypes) {
    for (int16_t c : {1, -1}) {
      SCOPED_TRACE(::testing::Message() << "type " << row.type << ", Clockwise " << c);
      const bool two_state = row.type == 1 || row.type == 5 || row.type == 6;
      const Centres& one_turn = c == 1 ? row.turned : row.turned_back;
      const Centres& three_turns = two_state ? one_turn : c == 1 ? row.turned_back : row.turned;
      cShape s;
      s.Initialise(row.type, 0xFF00FF00u, Vector2{550, 100}, Vector2{20, 20});
      s.RotateME(c);
      EXPECT_EQ(CentresOf(s), one_turn);
      EXPECT_EQ(s.Rotated, two_state);
      EXPECT_EQ(Point(s.cPntX(), s.cPntY()), row.centre);
      s.RotateME(c);
      EXPECT_EQ(CentresOf(s) == row.blocks, two_state || row.type == 2);
      s.RotateME(c);
      EXPECT_EQ(CentresOf(s), three_turns);
      s.RotateME(c);
      EXPECT_EQ(CentresOf(s), row.blocks);
      EXPECT_FALSE(s.Rotated);
    }
  }
}

// A piece object keeps `Rotated` across spawns: a new bar or S-shape that spawns in an
// object left turned makes its first turn the other way.
TEST(Turning, RotatedCarriesIntoTheNextPieceOfTheObject) {
  for (int16_t type : {1, 5, 6}) {
    SCOPED_TRACE(type);
    testing::RulesGame t;
    t.StartGame();
    PlayField& f = t.right();
    for (bool turned : {false, true}) {
      f.NextShape.Initialise(type, 0, Vector2{730, 167.5f}, Vector2{20, 20});
      t.g().InitShape();
      EXPECT_EQ(f.Shape.Rotated, turned);
      EXPECT_EQ(CentresOf(f.Shape), kTypes[type - 1].blocks);
      t.g().Form_KeyDown(platform::vk::Up, 0);
    }
    EXPECT_EQ(CentresOf(f.Shape), kTypes[type - 1].turned_back);
    EXPECT_FALSE(f.Shape.Rotated);
  }
}

Centres Shifted(Centres c, Point by) {
  for (Point& p : c) p = {p.first + by.first, p.second + by.second};
  return c;
}

// A spawn makes the preview piece the falling piece at the top of its well: the table's
// blocks, rotation centre and colour, shifted to the side's spawn point. The next preview
// waits at the fixed preview point of its side.
TEST(Spawn, ThePreviewFallsFromTheWellsTopAndTheNextWaitsAtThePreviewPoint) {
  struct {
    PlayerSide side;
    Point spawn, preview;  // as offsets from (550, 100), where the table's pieces are
  } sides[] = {{PlayerSide::Right, {0, 0}, {180, 67.5}},
               {PlayerSide::Left, {-400, 0}, {-220, 67.5}}};
  testing::RulesGame t({.multiplayer = true});
  t.StartGame();
  for (const auto& s : sides) {
    PlayField& f = t.g().Field(s.side);
    for (const TypeRow& row : kTypes) {
      SCOPED_TRACE(row.type);
      f.NextShape.Initialise(row.type, 0, Vector2{0, 0}, Vector2{20, 20});
      t.g().SpawnShape(s.side);
      int16_t next = f.NextShape.ShapeType;
      EXPECT_EQ(f.Shape.ShapeType, row.type);
      EXPECT_EQ(f.Shape.Scolor, platform::D3DColorXRGB(row.r, row.g, row.b));
      for (const cBlock& b : f.Shape.blocks) EXPECT_EQ(b.Color, f.Shape.Scolor);
      EXPECT_EQ(CentresOf(f.Shape), Shifted(row.blocks, s.spawn));
      EXPECT_EQ(Point(f.Shape.cPntX(), f.Shape.cPntY()),
                Point(row.centre.first + s.spawn.first, row.centre.second + s.spawn.second));
      ASSERT_GE(next, 1);
      EXPECT_EQ(CentresOf(f.NextShape), Shifted(kTypes[next - 1].blocks, s.preview));
      EXPECT_EQ(f.NextShape.Scolor, t.g().GetColor(next));
    }
  }
}

}  // namespace
}  // namespace brikka
