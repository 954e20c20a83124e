// The start button's set-up and its failure.
#include "rules_support.h"

namespace brikka {
namespace {

using testing::RulesGame;

TEST(StartGame, AMissingPictureEndsTheProgramWithTheSetUpMessage) {
  RulesGame t;
  ASSERT_TRUE(t.g().StartUp());
  testing::TempDir empty;
  t.plat().app_dir = empty.str();
  t.g().IntialiseGeometry();
  EXPECT_EQ(t.g().ExitCode(), 1);
  auto msgs = t.plat().dialog_box().TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, "An Error Occured while Initialising!");
  EXPECT_EQ(msgs[0].title, "Initialisation Error!");
  EXPECT_EQ(msgs[0].style, 16);
}

}  // namespace
}  // namespace brikka
