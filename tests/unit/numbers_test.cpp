// The numeric conventions: rounding half to even, ranges, truth values, colours, ticks.
#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Numbers, ConversionsRoundHalfToEvenAndRefuseOverflow) {
  for (auto [v, want] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.66, 1}, {32767.4, 32767}})
    EXPECT_EQ(CInt(v), want) << v;
  EXPECT_THROW(CInt(32767.5), Overflow);
  EXPECT_THROW(CInt(-32768.6), Overflow);
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_THROW(CLng(2147483648.0), Overflow);
  EXPECT_THROW(AddInt(32767, 1), Overflow);
  EXPECT_THROW(AddLng(INT32_MAX, 1), Overflow);
  EXPECT_EQ(AddLng(100, 1200), 1300);
  EXPECT_EQ(D3DColorXRGB(0, 138, 255), 0xFF008AFFu);
  EXPECT_EQ(VbBool(true), -1);
  EXPECT_EQ(TickDiff(INT32_MIN + 10, INT32_MAX - 5), 16);
}

TEST(Numbers, WholeNumberTextOnly) {
  long long v = 0;
  EXPECT_TRUE(ParseWholeNumber(" -1 ", v) && v == -1);
  EXPECT_TRUE(ParseWholeNumber("+5", v) && v == 5);
  for (const char* bad : {"", " ", "abc", "1.5", "1e3", "--1", "12a", "0x10"}) {
    EXPECT_FALSE(ParseWholeNumber(bad, v)) << bad;
  }
  EXPECT_FALSE(ParseWholeNumber(std::string(40, '9'), v));
}

}  // namespace
}  // namespace platform
