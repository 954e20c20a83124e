// The mouse handler: the cursor's doubled steps and limits, the click / re-arm alternation
// of the left button, and a device that cannot be read. (The records left in the device on
// the play screen: the scenario menu_mouse.)
#include <gtest/gtest.h>

#include <utility>

#include "menu_support.h"

namespace brikka {
namespace {

using testing::MenuGame;
namespace offset = platform::mouse_offset;

TEST(Mouse, TheCursorMovesTwiceTheStepUpTo832By632) {
  struct Step {
    int32_t dx, dy, x, y;
  };
  const Step steps[] = {{3, 0, 6, 0},       {0, 5, 6, 10},        {1000, 1000, 832, 632},
                        {-1, -1, 830, 630}, {-100000, 0, 0, 630}, {2147483647, 0, 832, 630}};
  MenuGame m;
  m.StartUp();
  for (const Step& s : steps) {
    if (s.dx) m.Record(offset::X, s.dx);
    if (s.dy) m.Record(offset::Y, s.dy);
    m.Pump();
    EXPECT_EQ(m.g().MouseX, s.x) << s.dx << "," << s.dy;
    EXPECT_EQ(m.g().MouseY, s.y) << s.dx << "," << s.dy;
    EXPECT_EQ(m.g().Cursor.Vertices()[0].X, s.x);  // the quad's top-left corner
    EXPECT_EQ(m.g().Cursor.Vertices()[0].Y, s.y);
  }
  m.Record(offset::Wheel, 120);  // the wheel and the other buttons move nothing
  m.Record(offset::Button1, 0x80);
  m.Pump();
  EXPECT_EQ(m.g().MouseX, 832);
  EXPECT_TRUE(m.g().MouseArmed);
}

// Press and release are not told apart: a press clicks, the release after it only re-arms.
TEST(Mouse, APressClicksAndItsReleaseOnlyReArms) {
  MenuGame m;
  m.StartUp();
  m.At(300, 260);  // the music button
  for (auto press : {&MenuGame::Press, &MenuGame::Release}) {
    (m.*press)();
    m.Pump();
    EXPECT_FALSE(m.g().settings.Music);
    EXPECT_EQ(m.g().MouseArmed, press == &MenuGame::Release);
  }
  m.At(475, 480);  // the start button: the press alone starts the game
  m.Press();
  m.Pump();
  EXPECT_EQ(m.g().Screen, 2);
}

// A device that cannot be read costs its input and is acquired again; the game goes on.
TEST(Mouse, AnUnreadableDeviceNeverStopsTheGame) {
  struct BrokenMouse : platform::MouseRecordBuffer {
    int GetDeviceData(platform::MouseRecord*, int) override { return -1; }
    bool Acquire() override {
      ++acquired;
      return false;
    }
    int acquired = 0;
  };
  MenuGame m;
  auto broken = std::make_unique<BrokenMouse>();
  BrokenMouse& mouse = *broken;
  std::unique_ptr<platform::MouseDevice> device = std::move(broken);
  std::swap(m.plat().mouse, device);  // the pump keeps signalling the scripted one
  m.StartUp();
  EXPECT_EQ(mouse.acquired, 1);
  m.g().DirectXEvent8_DXCallback(m.g().MouseEvent);
  EXPECT_EQ(mouse.acquired, 2);
  EXPECT_FALSE(m.g().Ended());
  EXPECT_EQ(m.g().MouseX, 0);
  m.g().FramePass();
  EXPECT_FALSE(m.g().Ended());
}

}  // namespace
}  // namespace brikka
