// `cText`'s rectangle rule (halves to even, the bottom edge summed in four-decimal currency
// first) and the digit grouping of the numbers the screens write. Where the texts land, and
// dropping and remaking the fonts, are tested with the play screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "platform/locale_numbers.h"
#include "render/text.h"

namespace brikka {
namespace {

struct RectCase {
  float x, y;
  int16_t size;
  size_t length;
  TextRect want;
};

TEST(TextRectangle, FollowsTheRule) {
  const RectCase cases[] = {
      {100, 50, 12, 5, {100, 50, 190, 74}},      // 18 pixels a character, two sizes high
      {100, 50, 12, 0, {100, 50, 100, 74}},      // an empty string has no width
      {665, 310, 17, 5, {665, 310, 792, 344}},   // 792.5 goes to the even 792
      {100.5f, 50, 12, 1, {100, 50, 118, 74}},   // 100.5 to 100, 118.5 to 118
      {101.5f, 0.5f, 12, 1, {102, 0, 120, 24}},  // 101.5 to 102, 0.5 and 24.5 to the even
      {0, 1.5f, 12, 0, {0, 2, 0, 26}},           // 25.5 to 26
      // 1.49996 is 1.5000 in currency, so the bottom is 25.5 before rounding: 26, not 25.
      {0, 1.49996f, 12, 0, {0, 1, 0, 26}},
  };
  for (const RectCase& c : cases) {
    const TextRect r = cText::RectFor(c.x, c.y, c.size, c.length);
    EXPECT_EQ(std::tie(r.Left, r.Top, r.Right, r.Bottom),
              std::tie(c.want.Left, c.want.Top, c.want.Right, c.want.Bottom))
        << c.x << "," << c.y;
  }
}

TEST(DigitGrouping, PutsTheSeparatorBetweenGroupsOfThree) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},          {999, "999"},
      {1000, "1,000"},   {1234567, "1,234,567"},  // seven digits, two separators
      {-1234, "-1,234"}, {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (auto [value, want] : cases) EXPECT_EQ(FormatNumber(value, ","), want);
  EXPECT_EQ(FormatNumber(12345, "\xA0"),
            "12\xA0"
            "345");
}

TEST(DigitGrouping, TheSeparatorIsTheLocalesAsGameTextElseAComma) {
  for (const char* locale : {"C", "xx_NOWHERE.UTF-8"})  // defines none; does not exist
    EXPECT_EQ(platform::ThousandsSeparatorOf(locale), ",") << locale;
  const std::pair<const char*, const char*> spelt[] = {
      {"", ","},
      {".", "."},
      {"'", "'"},
      {"\xC2\xA0", "\xA0"},      // no-break space
      {"\xE2\x80\xAF", "\xA0"},  // narrow no-break space
      {"\xE2\x80\x99", "\x92"},  // right single quotation mark
      {"\xE2\x82\xAC", ","},     // nothing a separator can be in game text
      {"ab", ","},
  };
  for (auto [utf8, want] : spelt) EXPECT_EQ(platform::SeparatorAsGameText(utf8), want) << utf8;
}

}  // namespace
}  // namespace brikka
